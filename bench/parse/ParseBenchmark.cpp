// Parsing throughput of the statement parser on a generated script of statements with long SQL
// bodies, in the three ways a run hands it over: the editor's text, the definition file, and a
// stream of lines. Prints MB/s, the time ratios at 10x and 100x the size (linear: about 10 and
// 100), and the peak memory, which stays flat for the streamed forms.
#include "script/StatementParser.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <vector>

namespace {

using namespace slidesmith::script;
using Clock = std::chrono::steady_clock;

const ScriptContext kContext{{"Sales", "Stock"},
                             {{"&FROM", "20090101"}, {"&TO", "20091231"}, {"&REGION", "'West'"}}};

// One statement: a header over two lines and a body of six long lines with a comment, quoted
// literals and parameters, about 700 bytes.
std::vector<std::string> StatementLines(std::size_t index) {
    // Appended piecewise: GCC 12 warns falsely (-Wrestrict) on "@" + std::to_string(...).
    std::string header = "@";
    header += std::to_string(index);
    header += " = REPORT(SLIDE=N TABLE=1 CELL=B2,C2,D2,E2 TYPE=VAR";
    return {
        header,
        "    PAGEBREAK=20 CONNECT=Sales)",
        "  SELECT c.CustomerId, c.FirstName || ' ' || c.LastName AS Name, c.Country, "
        "SUM(i.Total) AS Total",
        "  FROM Customer c JOIN Invoice i ON i.CustomerId = c.CustomerId /* only paid invoices */",
        "  WHERE i.InvoiceDate BETWEEN '&FROM' AND '&TO' AND c.Region = &REGION AND "
        "i.Status <> 'void /* not a comment */'",
        "  GROUP BY c.CustomerId, c.FirstName, c.LastName, c.Country HAVING SUM(i.Total) > 0",
        "  ORDER BY Total DESC, c.LastName ASC, c.FirstName ASC, c.CustomerId /* stable */",
        "",
    };
}

class CountingHost final : public StatementHost {
public:
    bool ExecuteStatement(StatementRecord& record) override {
        ++statements;
        sqlBytes += record.SqlText.size();
        return true;
    }
    bool IsDataSourceConnected(std::size_t) const override { return true; }
    void LogStatementError(std::string_view, std::string_view, std::string_view) override {
        ++errors;
    }
    void LogError(std::string_view, std::string_view) override { ++errors; }
    void ProcessPendingEvents() override {}
    bool IsInterrupted() const override { return false; }

    std::size_t statements = 0;
    std::size_t sqlBytes = 0;
    std::size_t errors = 0;
};

// Generates the script line by line without holding it, to measure the parser alone at sizes
// that would not fit in memory as one text.
class GeneratedSource final : public ScriptLineSource {
public:
    explicit GeneratedSource(std::size_t statements) : m_statements(statements) {}
    bool ReadLine(std::string_view& line) override {
        if (m_line == m_lines.size()) {
            if (m_next == m_statements)
                return false;
            m_lines = StatementLines(++m_next);
            m_line = 0;
        }
        line = m_lines[m_line++];
        bytes += line.size() + 2;
        return true;
    }
    std::size_t bytes = 0;

private:
    std::size_t m_statements;
    std::size_t m_next = 0;
    std::vector<std::string> m_lines;
    std::size_t m_line = 0;
};

std::string Script(std::size_t statements) {
    std::string text;
    for (std::size_t i = 1; i <= statements; ++i) {
        for (const std::string& line : StatementLines(i)) {
            text += line;
            text += "\r\n";
        }
    }
    return text;
}

struct Timer {
    Clock::time_point wall = Clock::now();
    double cpu = CpuSeconds();

    static double CpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }
};

struct Elapsed {
    double wall;
    double cpu;
};

Elapsed Stop(const Timer& timer) {
    return {std::chrono::duration<double>(Clock::now() - timer.wall).count(),
            Timer::CpuSeconds() - timer.cpu};
}

long PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void Report(const char* what, std::size_t statements, std::size_t bytes, Elapsed elapsed,
            const CountingHost& host) {
    const double mb = static_cast<double>(bytes) / 1e6;
    std::printf("%-6s %9zu statements %7.1f MB  wall %7.3f s %6.1f MB/s  cpu %7.3f s %6.1f "
                "MB/s  (ran %zu, errors %zu, peak RSS %ld MB)\n",
                what, statements, mb, elapsed.wall, mb / elapsed.wall, elapsed.cpu,
                mb / elapsed.cpu, host.statements, host.errors, PeakRssMb());
}

// The generated lines are built while the parser runs, so this time includes the generator.
double TimeStream(std::size_t statements) {
    GeneratedSource source(statements);
    CountingHost host;
    const Timer timer;
    ParseScript(source, kContext, host);
    const Elapsed elapsed = Stop(timer);
    Report("stream", statements, source.bytes, elapsed, host);
    return elapsed.cpu;
}

double TimeText(std::size_t statements) {
    const std::string text = Script(statements);
    CountingHost host;
    const Timer timer;
    ParseScript(text, kContext, host);
    const Elapsed elapsed = Stop(timer);
    Report("text", statements, text.size(), elapsed, host);
    return elapsed.cpu;
}

void TimeFile(std::size_t statements) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "slidesmith-bench-parse.slm";
    std::size_t bytes = 0;
    {
        const std::string text = "Slidemill Version 2.0\r\n[SQL]\r\n" + Script(statements);
        bytes = text.size();
        std::ofstream(path, std::ios::binary) << text;
    }
    CountingHost host;
    const Timer timer;
    ParseScriptFile(path, {}, kContext, host);
    Report("file", statements, bytes, Stop(timer), host);
    std::filesystem::remove(path);
}

} // namespace

int main(int argc, char** argv) {
    constexpr std::size_t kStatements = 100'000;
    TimeText(kStatements);
    // "bench_parse quick" stops here, for profiling the text form alone.
    if (argc > 1 && std::string_view(argv[1]) == "quick")
        return 0;
    TimeFile(kStatements);

    const double base = TimeStream(kStatements);
    const double ten = TimeStream(kStatements * 10);
    const double hundred = TimeStream(kStatements * 100);
    std::printf("linearity (stream): 10x size -> %.1fx cpu time, 100x size -> %.1fx cpu time\n",
                ten / base, hundred / base);

    const double small = TimeText(kStatements / 100);
    const double medium = TimeText(kStatements / 10);
    const double large = TimeText(kStatements);
    std::printf("linearity (text): 10x size -> %.1fx cpu time, 100x size -> %.1fx cpu time\n",
                medium / small, large / small);
    return 0;
}
