// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/DateTime.h"
#include "nmea/NewMessages.h"
#include "nmea/NmeaSettings.h"
#include "nmea/Sentences.h"
#include "support/TempFolder.h"

using namespace nmea;

namespace {

// Every sentence: starts with '$', ends with its checksum and CR LF, at most 82 characters.
void ExpectWellFormed(const std::string& s) {
    ASSERT_GE(s.size(), 6u);
    EXPECT_LE(s.size(), MaxSentenceLength) << s;
    EXPECT_EQ(s[0], '$');
    EXPECT_EQ(s.substr(s.size() - 2), "\r\n");
    const size_t star = s.rfind('*');
    ASSERT_EQ(star, s.size() - 5) << s;
    EXPECT_EQ(Checksum(s.substr(1, star - 1)), s.substr(star + 1, 2)) << s;
}

std::vector<std::string> Fields(const std::string& s) {
    std::vector<std::string> fields;
    const std::string body = s.substr(1, s.rfind('*') - 1);
    size_t start = 0;
    for (size_t comma; (comma = body.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(body.substr(start, comma - start));
    fields.push_back(body.substr(start));
    return fields;
}

// What a receiver of the sentences does: undo the escapes.
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 2 < text.size() + 0 + 1) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

TEST(NmeaSentences, BarometerSentencesWithTheirChecksums) {
    EXPECT_EQ(Checksum("GPGLL,5057.970,N,00146.110,E,142451,A"), "27");  // a textbook example
    EXPECT_EQ(MdaSentence(1013.2, 17.5), "$WIMDA,29.920,I,1.01320,B,17.5,C,,,,,,,,,,,,,,*32\r\n");
    EXPECT_EQ(XdrSentence(1013.2, 17.5), "$WIXDR,P,1.01320,B,Barometer,C,17.5,C,AirTemp*53\r\n");
    ExpectWellFormed(MdaSentence(950.04, -12.3));
    EXPECT_EQ(Fields(MdaSentence(950.04, -12.3))[5], "-12.3");
}

TEST(NmeaSentences, NavtexMessagesAsNrx) {
    TNavtexMessage m{"FA12", true, 2026, 12, 6, 10, 30, 0, "ZCZC FA12\r\nNNNN\r\n"};
    EXPECT_EQ(NrxSentences(m, 7),
              (std::vector<std::string>{
                  "$CRNRX,1,1,7,FA12,2,103000,06,12,2026,17,0,A,ZCZC FA12^0D^0ANNNN^0D^0A*2A\r\n"}));
    // An empty message still gives one sentence; 490 kHz is frequency index 1.
    TNavtexMessage empty{"GB05", false, 2026, 1, 1, 0, 0, 0, ""};
    EXPECT_EQ(NrxSentences(empty, 1000),
              (std::vector<std::string>{"$CRNRX,1,1,0,GB05,1,000000,01,01,2026,0,0,A,*3F\r\n"}));
    // Every reserved character and the bytes outside printable ASCII are escaped.
    EXPECT_EQ(EscapeText("$*,!\\^~ a\x01\xC9"), "^24^2A^2C^21^5C^5E^7E a^01^C9");
    // The identifier field cannot be escaped: a message without a true B1B2B3B4 is not sent.
    for (const char* bad : {"A,$!", "B*\r\n",
                            "C\xC3\xA9"
                            "1",
                            "fa12", "FA1", "FA123", "1A12", "FAA2", ""}) {
        m.identifier = bad;
        EXPECT_TRUE(NrxSentences(m, 1).empty()) << bad;
    }
}

TEST(NmeaSentences, LongMessagesAreCutIntoSentencesThatFit) {
    std::string text;
    for (int i = 0; i < 999; ++i) text += "LINE " + std::to_string(i) + ", WIND SW 6 ^ GUSTS $8*\r\n";
    TNavtexMessage m{"EA33", true, 2026, 12, 6, 23, 59, 58, text};
    const std::vector<std::string> sentences = NrxSentences(m, 42);
    ASSERT_GT(sentences.size(), 100u);
    std::string rebuilt;
    for (size_t i = 0; i < sentences.size(); ++i) {
        ExpectWellFormed(sentences[i]);
        const auto f = Fields(sentences[i]);
        ASSERT_EQ(f.size(), 14u) << sentences[i];
        EXPECT_EQ(f[0], "CRNRX");
        EXPECT_EQ(f[1], std::to_string(sentences.size()));
        EXPECT_EQ(f[2], std::to_string(i + 1));
        EXPECT_EQ(f[3], "42");
        EXPECT_EQ(f[4], i == 0 ? "EA33" : "") << "the message's fields in its first sentence only";
        EXPECT_EQ(f[10], i == 0 ? std::to_string(text.size()) : "");
        rebuilt += f[13];
    }
    EXPECT_EQ(Unescape(rebuilt), text) << "no escape was cut between two sentences";

    // A megabyte does not fit in 999 sentences: the counters keep three digits and the
    // sentences their length.
    const std::vector<std::string> huge =
        NrxSentences({"EA34", true, 2026, 12, 6, 1, 2, 3, std::string(1 << 20, 'W')}, 1);
    ASSERT_EQ(huge.size(), MaxSentences);
    ExpectWellFormed(huge.back());
    EXPECT_EQ(Fields(huge.back())[1], "999");
}

TEST(NmeaSettingsFile, DefaultsStoredValuesAndTheEnvironment) {
    testing_support::TempFolder temp;
    const std::string root = temp.Path() + "/";
    EXPECT_EQ(LoadNmeaSettings(root), TNmeaSettings{});
    TNmeaSettings s;
    s.enabled = true;
    s.tcpPort = 2000;
    s.allInterfaces = true;
    s.udpHost = "192.168.1.20";
    s.udpPort = 10111;
    s.stormThreshold = 2.5;
    ASSERT_TRUE(SaveNmeaSettings(root, s));
    EXPECT_EQ(LoadNmeaSettings(root), s);
    // A host with a line break or other foreign characters is neither taken nor saved.
    for (const char* host : {"plotter\r\noutput=off", "a b", "-x", "h\xC3\xA9te", "x;rm"}) {
        EXPECT_EQ(WithOverride({}, std::string("udp:") + host + ":10118"), TNmeaSettings{}) << host;
        TNmeaSettings bad = s;
        bad.udpHost = host;
        ASSERT_TRUE(SaveNmeaSettings(root, bad));
        const std::string text = testing_support::ReadText(temp / "NMEA.INI");
        EXPECT_EQ(text.find("udp="), std::string::npos) << host;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << "four lines, no more";
    }
    EXPECT_EQ(WithOverride({}, "udp:[::1]:10118").udpHost, "") << "brackets are not a host";
    EXPECT_EQ(WithOverride({}, "udp:fe80::1:10118").udpHost, "fe80::1");
    temp.WriteFile("NMEA.INI", "output=on\ntcp-port=99999\nudp=nohost\nstorm-threshold=-3\n");
    const TNmeaSettings damaged = LoadNmeaSettings(root);
    EXPECT_TRUE(damaged.enabled);
    EXPECT_EQ(damaged.tcpPort, 10110);
    EXPECT_TRUE(damaged.udpHost.empty());
    EXPECT_DOUBLE_EQ(damaged.stormThreshold, 3.6);
    // A threshold finer than the file keeps is the one saved (found by fuzzing).
    temp.WriteFile("NMEA.INI", "storm-threshold=2.5119\n");
    const TNmeaSettings fine = LoadNmeaSettings(root);
    EXPECT_DOUBLE_EQ(fine.stormThreshold, 2.5);
    ASSERT_TRUE(SaveNmeaSettings(root, fine));
    EXPECT_EQ(LoadNmeaSettings(root), fine);

    // The boat's position: each source with its address, a fixed position to the millionth,
    // the distance; an address that does not fit its source is dropped.
    TNmeaSettings boat;
    boat.positionSource = "gpsd";
    boat.positionAddress = "localhost:2947";
    boat.fixedLatitude = 54.068333;
    boat.fixedLongitude = -10.205;
    boat.nearDistanceNm = 25;
    ASSERT_TRUE(SaveNmeaSettings(root, boat));
    EXPECT_EQ(LoadNmeaSettings(root), boat);
    temp.WriteFile("NMEA.INI",
                   "position-source=udp\nposition-address=localhost:2947\nposition-fixed=95,1\n"
                   "near-distance=0\n");
    const TNmeaSettings wrong = LoadNmeaSettings(root);
    EXPECT_EQ(wrong.positionSource, "udp");
    EXPECT_TRUE(wrong.positionAddress.empty());
    EXPECT_EQ(wrong.fixedLatitude, 0);
    EXPECT_EQ(wrong.nearDistanceNm, 50);
    temp.WriteFile("NMEA.INI", "position-source=usb\nposition-fixed=54.0683339,10.2\n");
    EXPECT_EQ(LoadNmeaSettings(root).positionSource, "none");
    EXPECT_EQ(LoadNmeaSettings(root).fixedLatitude, 54.068334);
    // A serial port: a device or a COM port, the speed optional and one a GPS uses.
    std::string device;
    int baud = -1;
    EXPECT_TRUE(SerialAddress("/dev/ttyUSB0", device, baud));
    EXPECT_EQ(baud, 0);
    EXPECT_TRUE(SerialAddress("COM12@38400", device, baud));
    EXPECT_EQ(device, "COM12");
    EXPECT_EQ(baud, 38400);
    for (const char* bad : {"/dev/", "/dev/../etc/passwd", "/dev/tty USB0", "COM", "COMX", "ttyUSB0",
                            "/dev/ttyUSB0@4801", "/dev/ttyUSB0@", "COM3@4800@4800"})
        EXPECT_FALSE(ValidPositionAddress("serial", bad)) << bad;

    const TNmeaSettings tcp = WithOverride({}, "tcp:10117");
    EXPECT_TRUE(tcp.enabled);
    EXPECT_EQ(tcp.tcpPort, 10117);
    const TNmeaSettings both = WithOverride({}, "tcp:10117,udp:127.0.0.1:10118");
    EXPECT_EQ(both.udpHost, "127.0.0.1");
    EXPECT_EQ(both.udpPort, 10118);
    EXPECT_EQ(WithOverride({}, "serial:/dev/ttyS0"), TNmeaSettings{});
}

TEST(NmeaNewMessages, OnlyWhatArrivesWhileRunningIsSent) {
    const auto record = [](const char* name, const platform::LocalDateTime& when) {
        auto r = std::make_unique<TMsgHeaderElement>();
        r->Name = name;
        r->Age = datetime::PackFat(when);
        r->Lines = {"ZCZC " + std::string(name), "NNNN"};
        return r;
    };
    TMsgList international, national;
    international.push_back(record("FA12", {2026, 12, 6, 11, 30, 10, 0}));
    TNewMessages filter;
    EXPECT_TRUE(filter.Arrived(international, national).empty()) << "the archive at start is not sent";
    national.push_back(record("AE07", {2026, 7, 15, 14, 0, 0, 0}));
    const auto arrived = filter.Arrived(international, national);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].identifier, "AE07");
    EXPECT_FALSE(arrived[0].international);
    EXPECT_EQ(arrived[0].text, "ZCZC AE07\r\nNNNN\r\n");
    EXPECT_EQ(arrived[0].hour, 12) << "reception time in UTC (summer time in Paris)";
    EXPECT_EQ(arrived[0].day, 15);
    EXPECT_TRUE(filter.Arrived(international, national).empty()) << "never twice";
    international.push_back(record("A,$!", {2026, 7, 15, 15, 0, 0, 0}));
    EXPECT_TRUE(filter.Arrived(international, national).empty()) << "a file name that is no identifier";
}
