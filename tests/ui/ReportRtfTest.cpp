#include "UnrtfText.h"

#include "reports/ReportRtf.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;

// The document's body: what follows the font table and the paragraph set-up.
std::string body(const std::string& rtf) {
    const std::string start = "\\fs20 ";
    const std::size_t at = rtf.find(start);
    EXPECT_NE(at, std::string::npos);
    return rtf.substr(at + start.size());
}

TEST(ReportRtf, IsOneDocumentWithAFixedPitchFont) {
    const std::string rtf = ReportRtf("x");
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(rtf.find("\\fmodern\\fprq1"), std::string::npos);
    EXPECT_EQ(rtf.back(), '}');
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(ReportRtf, OneParagraphPerLine) {
    EXPECT_EQ(body(ReportRtf("one\ntwo\n\nfour")), "one\\par\r\ntwo\\par\r\n\\par\r\nfour\\par\r\n}");
}

TEST(ReportRtf, EscapesBackslashAndBraces) {
    EXPECT_EQ(body(ReportRtf("a\\b {c}")), "a\\\\b \\{c\\}\\par\r\n}");
}

TEST(ReportRtf, WindowsCodePageCharactersAsHexEscapes) {
    EXPECT_EQ(body(ReportRtf("Caf\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC")), "Caf\\'e9 \\'96 \\'80\\par\r\n}");
}

TEST(ReportRtf, OtherCharactersAsUnicodeEscapes) {
    // U+65E5, then U+1F600 as a surrogate pair; \uN takes a signed 16-bit N.
    EXPECT_EQ(body(ReportRtf("\xE6\x97\xA5\xF0\x9F\x98\x80")), "\\u26085?\\u-10179?\\u-8704?\\par\r\n}");
}

TEST(ReportRtf, MalformedTextBecomesTheReplacementCharacter) {
    EXPECT_EQ(body(ReportRtf("a\xFF" "b")), "a\\u-3?b\\par\r\n}");
}

TEST(ReportRtf, RunsOfBlanksKeepEveryBlank) {
    EXPECT_EQ(body(ReportRtf("a  b")), "a \\'20b\\par\r\n}");
}

TEST(WriteReportRtf, EndsTheFileWithCrLf) {
    TempDir dir;
    ASSERT_TRUE(WriteReportRtf(dir / "r.rtf", "text"));
    const auto bytes = readFileBytes(dir / "r.rtf");
    const std::string saved(bytes.begin(), bytes.end());
    EXPECT_EQ(saved, ReportRtf("text") + "\r\n");
    EXPECT_FALSE(WriteReportRtf(dir / "no" / "such" / "folder.rtf", "text"));
}

TEST(WriteReportRtf, ReadsBackToTheSameText) {
    const std::string report = "*** Orvanta Project Report ***\nDate scanned: 03-14-2024\n\nProject Location: /g/a.orv"
                               "\n\n======================================================================"
                               "\nNOTE: braces {x} and back\\slash, two  blanks and   three"
                               "\n(Scene # 1 (Quay)) When clicked, set flag # 12 to value 1"
                               "\n\n>>>>>> FLAG #-3 <<<<<<\n======================================================================";
    TempDir dir;
    ASSERT_TRUE(WriteReportRtf(dir / "r.rtf", report));
    const auto back = unrtfText(dir / "r.rtf");
    if (!back)
        GTEST_SKIP() << "unrtf is not available";
    EXPECT_EQ(*back, report);
}

} // namespace
} // namespace orv::testing
