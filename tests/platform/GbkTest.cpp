// Conversion between UTF-8 text and GBK bytes.
#include "platform/Gbk.h"

#include <gtest/gtest.h>

using xr::platform::toGbk;

TEST(Gbk, ConvertsAsciiAndChineseText)
{
    EXPECT_EQ(toGbk(""), "");
    EXPECT_EQ(toGbk("XARVANE PELLORY"), "XARVANE PELLORY");
    EXPECT_EQ(toGbk("中"), "\xD6\xD0");
    EXPECT_EQ(toGbk("当前用户：A"), "\xB5\xB1\xC7\xB0\xD3\xC3\xBB\xA7\xA3\xBA" "A");
}

TEST(Gbk, MarksWhatItCannotConvertWithAQuestionMark)
{
    EXPECT_EQ(toGbk("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji GBK does not hold
    EXPECT_EQ(toGbk("a\xFF" "b"), "a?b");           // not UTF-8 at all
    EXPECT_EQ(toGbk("a\xE4\xB8"), "a?");            // a sequence cut short at the end
    EXPECT_EQ(toGbk("a\xE4\xB8z"), "a?z");          // and inside the text
    EXPECT_EQ(toGbk(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Gbk, ReadsGbkBackAndMarksUndefinedBytes)
{
    using xr::platform::fromGbk;
    EXPECT_EQ(fromGbk("\xB5\xB1\xC7\xB0\xD3\xC3\xBB\xA7\xA3\xBA" "A"), "当前用户：A");
    EXPECT_EQ(fromGbk(toGbk("/opt/程序/邮件.sh")), "/opt/程序/邮件.sh");
    EXPECT_EQ(fromGbk("a\xFF" "b"), "a?b"); // no GBK lead byte
    EXPECT_EQ(fromGbk("a\xD6"), "a?");      // a character cut short at the end
}
