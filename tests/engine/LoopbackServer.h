#pragma once

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace slidesmith::engine::test {

// A tiny HTTP/1.0 server on 127.0.0.1 for picture downloads, so no test needs the network.
// Each path answers with a fixed response; "/endless" streams bytes until the client hangs up,
// "/stall" sends its head and then nothing.
// Paths without a response get 404.
class LoopbackServer {
public:
    struct Response {
        int status = 200;
        std::string body;
        std::string location; // sent as Location for redirects
    };

    explicit LoopbackServer(std::map<std::string, Response> routes);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // "http://127.0.0.1:<port>".
    std::string Address() const;

private:
    void Serve();
    void Answer(int client);

    std::map<std::string, Response> m_routes;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace slidesmith::engine::test
