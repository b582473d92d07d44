// Texts from older installations: a UTF-8 text is never altered, Windows-1252 bytes become the
// characters they stood for, and no byte is dropped.
#include "platform/core/Utf8Text.h"

#include <gtest/gtest.h>

using namespace vyn;

namespace {

struct Case {
    const char* what;
    std::string bytes;
    bool valid;
    std::string wholeText;  // TextFromFile
    std::string mixed;      // Utf8FromLegacyBytes
};

const Case kCases[] = {
    {"plain ASCII", "Sample 1", true, "Sample 1", "Sample 1"},
    {"UTF-8 kept", "\xC2\xB5g/ml \xE2\x82\xAC", true, "\xC2\xB5g/ml \xE2\x82\xAC", "\xC2\xB5g/ml \xE2\x82\xAC"},
    {"Windows-1252 micro and euro", "\xB5g \x80", false, "\xC2\xB5g \xE2\x82\xAC", "\xC2\xB5g \xE2\x82\xAC"},
    {"undefined 1252 byte keeps its C1 value", "\x81", false, "\xC2\x81", "\xC2\x81"},
    // One stray byte makes the whole text Windows-1252; the sequence-wise reading keeps the
    // good sequence and mends only the stray byte.
    {"mixed", "\xC2\xB5 \xE9", false, "\xC3\x82\xC2\xB5 \xC3\xA9", "\xC2\xB5 \xC3\xA9"},
    {"overlong slash", "\xC0\xAF", false, "\xC3\x80\xC2\xAF", "\xC3\x80\xC2\xAF"},
    {"surrogate", "\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xE2\x82\xAC", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", false, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC",
     "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
    {"cut at the end", "ab\xE2\x82", false, "ab\xC3\xA2\xE2\x80\x9A", "ab\xC3\xA2\xE2\x80\x9A"},
    {"four-byte UTF-8 kept", "\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
};

}  // namespace

TEST(Utf8Text, LegacyBytesBecomeTheirCharactersAndUtf8StaysAsItIs)
{
    for (const Case& c : kCases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.what;
        EXPECT_EQ(TextFromFile(c.bytes), c.wholeText) << c.what;
        EXPECT_EQ(Utf8FromLegacyBytes(c.bytes), c.mixed) << c.what;
        EXPECT_TRUE(IsValidUtf8(TextFromFile(c.bytes))) << c.what;
    }
}
