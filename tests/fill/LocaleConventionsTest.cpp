#include "fill/LocaleConventions.h"

#include "fill/ValueFormat.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

// With LOCPATH set, the C library keeps the search path of every newlocale call for its locale
// cache and never frees it; that is not ours to fix, so the leak checker is told to skip it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\nleak:__argz_create_sep\n";
}

namespace slidesmith::fill {
namespace {

TEST(LocaleConventions, NeutralOrUnknownLocalesGiveTheClassicEnglishConventions) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        const LocaleConventions conventions = LocaleConventions::FromLocaleNames(name, name, name);
        EXPECT_EQ(conventions.decimalSeparator, ".") << name;
        EXPECT_EQ(conventions.thousandsSeparator, ",") << name;
        EXPECT_EQ(conventions.shortDatePattern, "m/d/yyyy") << name;
        EXPECT_EQ(conventions.monthNames[2], "March") << name;
        EXPECT_EQ(conventions.currencySymbol, "$") << name;
        EXPECT_TRUE(conventions.currencyNegativeInParentheses) << name;
    }
}

namespace fs = std::filesystem;

bool LocaleExists(const std::string& name) {
    const locale_t probe = newlocale(LC_ALL_MASK, name.c_str(), locale_t{});
    if (probe == locale_t{}) {
        return false;
    }
    freelocale(probe);
    return true;
}

// Makes a locale available to this process: compiled from the system's locale sources with
// localedef into a shared folder that LOCPATH names (built under a private name first and
// renamed, so parallel tests never see half of one), or else as installed. The C library
// remembers a failed lookup, so nothing is probed before the folder is in place.
bool ProvideLocale(const std::string& source, const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "slidesmith-test-locales";
    if (!fs::exists(folder / name)) {
        const fs::path scratch = folder / (name + ".tmp" + std::to_string(getpid()));
        fs::create_directories(scratch);
        const std::string command =
            "localedef -i " + source + " -f UTF-8 '" + scratch.string() + "' >/dev/null 2>&1";
        std::error_code ignored; // a missing localedef leaves the installed locales
        if (std::system(command.c_str()) == 0) {
            fs::rename(scratch, folder / name, ignored); // another test may have been first
        }
        fs::remove_all(scratch, ignored);
    }
    if (fs::exists(folder / name)) {
        setenv("LOCPATH", folder.c_str(), 1);
    }
    return LocaleExists(name);
}

TEST(LocaleConventions, ReadsNumbersDatesAndMoneyOfARealLocale) {
    if (!ProvideLocale("de_DE", "de_DE.UTF-8")) {
        GTEST_SKIP() << "de_DE.UTF-8 is neither installed nor buildable here";
    }
    const LocaleConventions german =
        LocaleConventions::FromLocaleNames("de_DE.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(german.decimalSeparator, ",");
    EXPECT_EQ(german.thousandsSeparator, ".");
    EXPECT_EQ(german.dateSeparator, ".");
    EXPECT_EQ(german.monthNames[2], "März");
    EXPECT_EQ(german.dayAbbreviations[0], "So");
    EXPECT_EQ(german.currencySymbol, "€");
    EXPECT_FALSE(german.currencyPrecedes);
    EXPECT_TRUE(german.currencySeparatedBySpace);
    EXPECT_FALSE(german.currencyNegativeInParentheses);
    const odbc::FieldValue afternoon =
        odbc::FieldValue::FromTimestamp({{2009, 3, 5}, {14, 5, 9}, 0});
    EXPECT_EQ(Format(afternoon, "Short Date", german), "05.03.2009");
    EXPECT_EQ(Format(afternoon, "Long Date", german), "Donnerstag 5 März 2009");
    EXPECT_EQ(Format(afternoon, "Long Time", german), "14:05:09");
    EXPECT_EQ(Format(afternoon, "Medium Time", german), "14:05");
    EXPECT_EQ(Format(odbc::FieldValue::FromDouble(-1234.5), "Currency", german), "-1.234,50 €");
}

TEST(LocaleConventions, TheCLibrarysEnglishDiffersFromTheClassicDefaults) {
    if (!ProvideLocale("en_US", "en_US.UTF-8")) {
        GTEST_SKIP() << "en_US.UTF-8 is neither installed nor buildable here";
    }
    const LocaleConventions us =
        LocaleConventions::FromLocaleNames("en_US.UTF-8", "en_US.UTF-8", "en_US.UTF-8");
    const odbc::FieldValue afternoon =
        odbc::FieldValue::FromTimestamp({{2009, 3, 5}, {14, 5, 9}, 0});
    EXPECT_EQ(Format(afternoon, "", us), "03/05/2009 02:05:09 PM");
    EXPECT_EQ(Format(afternoon, "Long Date", us), "Thursday, March 5, 2009");
    EXPECT_EQ(Format(odbc::FieldValue::FromDouble(-1234.5), "Currency", us), "-$1,234.50");
    EXPECT_EQ(Format(afternoon, "", LocaleConventions::EnUs()), "3/5/2009 2:05:09 PM");
}

TEST(LocaleConventions, KeepsMultiByteSeparatorsWhole) {
    if (!ProvideLocale("ja_JP", "ja_JP.UTF-8")) {
        GTEST_SKIP() << "ja_JP.UTF-8 is neither installed nor buildable here";
    }
    const LocaleConventions japanese =
        LocaleConventions::FromLocaleNames("ja_JP.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8");
    EXPECT_EQ(japanese.dateSeparator, "年");
    EXPECT_EQ(Format(odbc::FieldValue::FromDate({2009, 3, 5}), "Short Date", japanese),
              "2009年03月05日");
    EXPECT_EQ(Format(odbc::FieldValue::FromDate({2009, 3, 5}), "yyyy/m", japanese), "2009年3");
}

TEST(TranslateStrftimePattern, ConvertsTheCLibraryPatternsHostsUse) {
    EXPECT_EQ(TranslateStrftimePattern("%d.%m.%Y"), "dd\\.mm\\.yyyy");
    EXPECT_EQ(TranslateStrftimePattern("%m/%d/%y"), "mm\\/dd\\/yy");
    EXPECT_EQ(TranslateStrftimePattern("%Y-%m-%d"), "yyyy\\-mm\\-dd");
    EXPECT_EQ(TranslateStrftimePattern("%r"), "hh:nn:ss AMPM");
    EXPECT_EQ(TranslateStrftimePattern("%H:%M:%S"), "hh\\:nn\\:ss");
    EXPECT_EQ(TranslateStrftimePattern("%e %B %Y"), "d\\ mmmm\\ yyyy");
    EXPECT_EQ(TranslateStrftimePattern("%-d.%Ex %%"), "d\\.\\ \\%");
    EXPECT_EQ(TranslateStrftimePattern("100%"), "\\1\\0\\0\\%");

    LocaleConventions en = LocaleConventions::EnUs();
    en.shortDatePattern = TranslateStrftimePattern("%d.%m.%Y");
    EXPECT_EQ(Format(odbc::FieldValue::FromDate({2009, 3, 5}), "ddddd", en), "05.03.2009");
}

} // namespace
} // namespace slidesmith::fill
