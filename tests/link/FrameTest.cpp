#include <gtest/gtest.h>
#include <tuple>

#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/PortAddress.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Frame, RequestFramesCarryHeaderLengthAndTwosComplementCheck) {
    EXPECT_EQ(BuildFrame(CommandBlock(kCmdHandshake)), (Bytes{0x55, 0xAA, 0x01, 0x06, 0x2B, 0xCF}));
    EXPECT_EQ(BuildFrame(CommandBlock(kCmdFileCount)), (Bytes{0x55, 0xAA, 0x01, 0x06, 0x6A, 0x90}));
    const Bytes read = BuildFrame(CommandBlock(kCmdReadFile, {3}));
    ASSERT_EQ(read.size(), 7u);
    EXPECT_EQ(read[3], 7);
    EXPECT_EQ(read[5], 3);
    unsigned sum = 0;
    for (auto b : read)
        sum += b;
    EXPECT_EQ(sum % 256, 0u);
}

TEST(Frame, MalformedBlocksGiveNoFrame) {
    EXPECT_TRUE(BuildFrame(Bytes{}).empty());
    EXPECT_TRUE(BuildFrame(Bytes{6}).empty());
    EXPECT_TRUE(BuildFrame(Bytes{7, 0x6B}).empty()); // N says one parameter more than there is
    Bytes tooLong(253, 0);
    tooLong[0] = 0; // 256 bytes would not fit the length byte
    EXPECT_TRUE(BuildFrame(tooLong).empty());
}

TEST(Frame, DateTimeBlockForAugust2011InMonthDayYear) {
    const Bytes frame = BuildFrame(DateTimeBlock({2011, 8, 15, 12, 0, 0}, 2));
    ASSERT_EQ(frame.size(), 13u);
    EXPECT_EQ(frame[4], kCmdSetDateTime);
    EXPECT_EQ(Bytes(frame.begin() + 5, frame.begin() + 12), (Bytes{12, 0, 0, 11, 8, 15, 2}));
    // The year byte is the low byte of year + 48.
    EXPECT_EQ(DateTimeBlock({2255, 1, 1, 0, 0, 0}, 0)[5], 255);
    EXPECT_EQ(DateTimeBlock({2000, 1, 1, 0, 0, 0}, 0)[5], 0);
}

TEST(Frame, ReplyCheckAcceptsPlainSumAndTwosComplementOnly) {
    Bytes reply{0x55, 0xAA, 0x01, 0x08, 0x6A, 0x01, 0x02, 0x00};
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < reply.size(); ++i)
        sum += reply[i];
    reply.back() = static_cast<std::uint8_t>(sum);
    EXPECT_TRUE(ReplyCheckAccepted(reply));
    reply.back() = static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
    EXPECT_TRUE(ReplyCheckAccepted(reply));
    reply.back() = static_cast<std::uint8_t>(sum + 1);
    EXPECT_FALSE(ReplyCheckAccepted(reply));
    EXPECT_FALSE(ReplyCheckAccepted(Bytes{}));
}

TEST(Frame, ModelTextFromReply) {
    EXPECT_EQ(ModelTextFromReply(Bytes{0x55, 0xAA, 1, 11, 0x50, 0x1B, 0xBC, 'T', '2', 0, 0}),
              "7100T2");
    EXPECT_EQ(ModelTextFromReply(Bytes{0x55, 0xAA, 1, 11, 0x50, 0x1B, 0xBC, 'Q', 0, 'X', 0}),
              "7100Q");
    EXPECT_EQ(ModelTextFromReply(Bytes{0x55, 0xAA, 1, 11, 0x50, 0x1B, 0xBC, 'T', ' ', 0, 0}),
              "7100T");
    EXPECT_EQ(ModelTextFromReply(Bytes{0x55, 0xAA, 1, 11, 0x50, 0x1B, 0xBC, 0, 'D', 0, 0}), "7100");
}

TEST(PortSetting, NumbersPathsAndTheUnconfiguredValue) {
    EXPECT_FALSE(ParsePortSetting("300").configured);
    EXPECT_FALSE(ParsePortSetting(" 300").configured);
    EXPECT_EQ(ParsePortSetting("3").number, 3);
    EXPECT_EQ(ParsePortSetting("256").number, 256);
    // Out of range or not a number: COM1.
    EXPECT_EQ(ParsePortSetting("0").number, 1);
    EXPECT_EQ(ParsePortSetting("999").number, 1);
    EXPECT_EQ(ParsePortSetting("257").number, 1);
    EXPECT_EQ(ParsePortSetting("-4").number, 1);
    EXPECT_EQ(ParsePortSetting("abc").number, 1);
    EXPECT_EQ(ParsePortSetting("").number, 1);
    EXPECT_EQ(ParsePortSetting("COM4").number, 4);
    EXPECT_EQ(ParsePortSetting("com12").number, 12);
    const PortAddress path = ParsePortSetting("/dev/pts/7 ");
    EXPECT_TRUE(path.configured);
    EXPECT_EQ(path.number, 0);
    EXPECT_EQ(path.device, "/dev/pts/7");
#if defined(_WIN32)
    EXPECT_EQ(PortDeviceName(1), "\\\\.\\COM1");
    EXPECT_EQ(PortDeviceName(12), "\\\\.\\COM12");
#else
    EXPECT_EQ(PortDeviceName(1), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(4), "/dev/ttyUSB3");
#endif
}

TEST(PortText, TypedTextsAreAPortOrARefusalThatSaysWhy) {
    using R = PortRefusal;
    const std::tuple<const char*, R, std::string> cases[] = {
        {" com12 ", R::None, "12"},
        {"/dev/serial/by-id/usb-FT232R-if00", R::None, "/dev/serial/by-id/usb-FT232R-if00"},
        {"COM0", R::OutOfRange, ""},
        {"300", R::OutOfRange, ""}, // "none configured" is no port to type
        {"ttyUSB0", R::NotAPort, ""},
        {"/dev/ttyUSB0\nBaud=9600", R::BadChar, ""},
    };
    for (const auto& [text, refusal, stored] : cases) {
        const PortParse p = ParsePortText(text);
        EXPECT_EQ(p.refusal, refusal) << text;
        EXPECT_EQ(p.Ok() ? p.address.SettingText() : "", stored) << text;
        EXPECT_EQ(PortRefusalText(p.refusal).empty(), p.Ok()) << text;
    }
}

TEST(PortSetting, DecimalValueReadsLikeTheSettingsDo) {
    EXPECT_EQ(DecimalValue("115200"), 115200);
    EXPECT_EQ(DecimalValue("  9600baud"), 9600);
    EXPECT_EQ(DecimalValue("x1"), 0);
    EXPECT_EQ(DecimalValue("-12"), -12);
    EXPECT_GT(DecimalValue("99999999999999999999999"), 0);
}

TEST(PortText, ANumberedPortIsShownByItsNumberAndAnyOtherDeviceByItsPath) {
    EXPECT_EQ(PortDisplayName(PortDeviceName(1)), "COM1");
    EXPECT_EQ(PortDisplayName(PortDeviceName(kHighestPort)), "COM256");
    EXPECT_EQ(PortDisplayName(PortDeviceName(kHighestPort + 1)), PortDeviceName(kHighestPort + 1));
    EXPECT_EQ(PortDisplayName("/dev/pts/7"), "/dev/pts/7");
}

} // namespace
} // namespace qm
