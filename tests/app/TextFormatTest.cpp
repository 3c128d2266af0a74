#include "app/TextFormat.h"

#include <gtest/gtest.h>

TEST(TextFormat, FileNameAndTitle)
{
    EXPECT_EQ((TextFormat("vel_{0}x{1}.dat") % 512 % 256).str(), "vel_512x256.dat");
    EXPECT_EQ((TextFormat("vel_{0}x{1}.dat") % -3 % 0).str(), "vel_-3x0.dat");
    EXPECT_EQ((TextFormat("Eddyra -- {0} ips") % 12145.669f).str(), "Eddyra -- 12145.7 ips");
    EXPECT_EQ((TextFormat("Eddyra -- {0} ips") % 1000.0f).str(), "Eddyra -- 1000 ips");
    EXPECT_EQ((TextFormat("Eddyra -- {0} ips") % 0.5f).str(), "Eddyra -- 0.5 ips");
    EXPECT_EQ((TextFormat("{0}") % 1234567.0f).str(), "1.23457e+06");
    EXPECT_EQ((TextFormat("{0}") % 0.0001f).str(), "0.0001");
}

TEST(TextFormat, PlaceholderNumbering)
{
    EXPECT_EQ((TextFormat("{1}{0}") % 1 % 2).str(), "21");
    EXPECT_EQ((TextFormat("{0}{0}") % 7).str(), "77");
    EXPECT_EQ((TextFormat("{01}") % 1 % 2).str(), "2");
    EXPECT_EQ((TextFormat("<{}>") % 5).str(), "<5>");
    EXPECT_EQ((TextFormat("unused") % 5).str(), "unused");
}

TEST(TextFormat, MalformedPlaceholdersStayAsText)
{
    EXPECT_EQ((TextFormat("{2}") % 1 % 2).str(), "{2}");
    EXPECT_EQ(TextFormat("{}").str(), "{}");
    EXPECT_EQ((TextFormat("{x}") % 1).str(), "{x}");
    EXPECT_EQ((TextFormat("end{") % 1).str(), "end{");
    EXPECT_EQ((TextFormat("{0") % 1).str(), "{0");
    EXPECT_EQ((TextFormat("}{0}}") % 1).str(), "}1}");
    // The brace is copied and scanning resumes after it, so a placeholder
    // inside an unclosed one still counts.
    EXPECT_EQ((TextFormat("{{0}") % 1).str(), "{1");
    EXPECT_EQ((TextFormat("{99999999999999999999}") % 1).str(), "{99999999999999999999}");
}

TEST(TextFormat, StrIsRepeatableAndCopiesAreIndependent)
{
    TextFormat f("{0}-{1}");
    f % 1;
    EXPECT_EQ(f.str(), "1-{1}");
    TextFormat copy = f;
    copy % 2;
    EXPECT_EQ(copy.str(), "1-2");
    EXPECT_EQ(copy.str(), "1-2");
    EXPECT_EQ(f.str(), "1-{1}");
}
