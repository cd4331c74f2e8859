#include "fill/LocaleConventions.h"

#include "fill/ValueFormat.h"

#include <gtest/gtest.h>
#include <locale.h>

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

TEST(LocaleConventions, ReadsAnInstalledLocale) {
    const char* name = "de_DE.UTF-8";
    const locale_t probe = newlocale(LC_ALL_MASK, name, locale_t{});
    if (probe == locale_t{}) {
        GTEST_SKIP() << name << " is not installed here";
    }
    freelocale(probe);
    const LocaleConventions german = LocaleConventions::FromLocaleNames(name, name, name);
    EXPECT_EQ(german.decimalSeparator, ",");
    EXPECT_EQ(german.thousandsSeparator, ".");
    EXPECT_EQ(german.dateSeparator, ".");
    EXPECT_EQ(german.monthNames[2], "März");
    EXPECT_EQ(german.currencySymbol, "€");
    EXPECT_FALSE(german.currencyPrecedes);
    EXPECT_EQ(Format(odbc::FieldValue::FromDate({2009, 3, 5}), "Short Date", german), "05.03.2009");
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
