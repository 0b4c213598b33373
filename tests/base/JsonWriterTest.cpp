#include <gtest/gtest.h>

#include "base/JsonWriter.h"

namespace qm {
namespace {

TEST(JsonWriter, NestsEscapesAndKeepsDocumentsValid) {
    JsonWriter json;
    json.BeginObject().Key("a\"b").BeginArray().Cell("---").Cell("07").Cell("-1.50").Cell("1.");
    json.Cell(">30").Number(-0.04, 1).Number(2.25, 1).Bool(true).EndArray();
    json.Key("t").String("x\n\t\x01\x7f\\").Key("e").BeginObject().EndObject().EndObject();
    EXPECT_EQ(json.Text(), "{\"a\\\"b\":[null,\"07\",-1.50,\"1.\",\">30\",0.0,2.2,true],"
                           "\"t\":\"x\\n\\t\\u0001\\u007f\\\\\",\"e\":{}}\n");
}

TEST(JsonWriter, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    EXPECT_EQ(JsonQuoted("\xE4\xB8\xAD"), "\"\xE4\xB8\xAD\""); // a whole CJK character
    EXPECT_EQ(JsonQuoted("a\xB5"
                         "b"),
              "\"a\xEF\xBF\xBD"
              "b\"");                                                  // a lone Latin-1 byte
    EXPECT_EQ(JsonQuoted("\xE4\xB8"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\""); // cut short
    EXPECT_EQ(JsonQuoted("\xC0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\""); // overlong NUL
    EXPECT_EQ(JsonQuoted("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""); // surrogate
}

} // namespace
} // namespace qm
