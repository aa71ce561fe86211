// Reading Cabrillo logs: the header, the QSO lines, and each line mapped to
// the host's QSO, or the reason it cannot be.
#include <gtest/gtest.h>

#include "cabrillo.h"
#include "log_mapping.h"
#include "test_support.h"

using namespace tools;
using stats::test::ScratchDir;
using stats::test::WriteFile;

namespace {

TEST(CabrilloReader, TheHeaderAndTheQsoLinesWithTheirNumbers) {
    ScratchDir dir;
    WriteFile("x.cbr",
              "\xEF\xBB\xBFSTART-OF-LOG: 3.0\r\n"
              "callsign: dl5cw\r\n"
              "CONTEST: CQ-WPX-SSB\r\n"
              "SOAPBOX: 73: see you\r\n"
              "QSO: 14200 PH 2023-03-25 0000 DL5CW 59 001 K1ZZ 59 010\r\n"
              "X-QSO: 14200 PH 2023-03-25 0001 DL5CW 59 002 K2ZZ 59 011\r\n"
              "\r\n"
              "QSO:  7100 PH 2023-03-25 0002 DL5CW 59 003 JA1XYZ 59 020\r\n"
              "END-OF-LOG:\r\n"
              "QSO:  7100 PH 2023-03-25 0003 DL5CW 59 004 after the end\r\n");
    cabrillo::Reader reader("x.cbr");
    std::string fields;
    std::size_t line = 0;
    ASSERT_TRUE(reader.Next(fields, line));
    EXPECT_EQ(line, 5u);
    EXPECT_EQ(fields, "14200 PH 2023-03-25 0000 DL5CW 59 001 K1ZZ 59 010");
    ASSERT_TRUE(reader.Next(fields, line)) << "X-QSO lines are not scored";
    EXPECT_EQ(line, 8u);
    EXPECT_FALSE(reader.Next(fields, line));
    EXPECT_FALSE(reader.Next(fields, line));
    EXPECT_EQ(reader.Callsign(), "DL5CW");
    EXPECT_EQ(reader.Contest(), "CQ-WPX-SSB");
    EXPECT_TRUE(cabrillo::LooksLikeCabrillo("x.cbr"));
}

TEST(CabrilloReader, ALogCutShortOrNoCabrilloAtAllIsAnError) {
    ScratchDir dir;
    auto error = [](const std::string& text) {
        WriteFile("x.txt", text);
        try {
            cabrillo::Reader reader("x.txt");
            std::string fields;
            for (std::size_t line; reader.Next(fields, line);) {
            }
        } catch (const cabrillo::FormatError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error("START-OF-LOG: 3.0\nCALLSIGN: DL5CW\nQSO: 14200 PH 2023-03-25 0000 DL5CW 59 001 K1ZZ 59 01"),
              "x.txt: line 3: the log ends without END-OF-LOG: (the file is cut short?)");
    EXPECT_EQ(error("\n<CALL:4>K1ZZ<EOR>\n"), "x.txt: line 2: not a Cabrillo log: it does not start with START-OF-LOG:");

    // By content first, by name only when the content does not say.
    WriteFile("log.adi", "\n  START-OF-LOG: 2.0\n");
    EXPECT_TRUE(cabrillo::LooksLikeCabrillo("log.adi"));
    WriteFile("adif.log", "exported <EOH>\n<CALL:4>K1ZZ<EOR>\n");
    EXPECT_FALSE(cabrillo::LooksLikeCabrillo("adif.log"));
    WriteFile("cut.LOG", "QSO: 14200 PH 2023-03-25 0000 DL5CW 59 001 K1ZZ 59 010\n");
    EXPECT_TRUE(cabrillo::LooksLikeCabrillo("cut.LOG"));
}

class CabrilloQso : public ::testing::Test {
protected:
    std::optional<HostQso> Map(const std::string& fields, std::string* problem = nullptr) {
        std::string why;
        const auto line = cabrillo::SplitQsoLine(fields, &why);
        if (!line) {
            if (problem != nullptr) *problem = why;
            return std::nullopt;
        }
        return MapCabrilloQso(*line, &countries, problem);
    }
    CountryFile countries = CountryFile::Parse(
        "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n    AA,AF,K,N,W;\n"
        "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n    JA,JE;\n");
};

TEST_F(CabrilloQso, TheReportWritersLineMapsBackToTheHostsArguments) {
    // As the plug-in writes it: "QSO: %5u %2s %s %-13s %-3s %-6s %-13s %-3s %s".
    const auto q = Map(" 7169 PH 2023-03-25 0007 K3SB          59  001    AF9X          59  012");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->frequencyHz, 7169000u);
    EXPECT_EQ(q->band, "40m");
    EXPECT_EQ(q->mode, "SSB");
    EXPECT_EQ(stats::FormatOleDate(q->time, "%Y-%m-%d %H:%M:%S"), "2023-03-25 00:07:00");
    EXPECT_EQ(q->call, "AF9X");
    EXPECT_EQ(q->rstSent + " " + q->exchangeSent + " " + q->rstReceived + " " + q->exchangeReceived, "59 001 59 012");
    EXPECT_EQ(q->wpxPrefix, "AF9");
    EXPECT_EQ(q->countryPrefix + " " + q->continent, "K NA");

    const auto multi = Map("21025.5 RY 2023-05-27 2359 K3SB 599 7 JE1ABC/P 599 1500 1");
    ASSERT_TRUE(multi) << "with a transmitter number";
    EXPECT_EQ(multi->frequencyHz, 21025500u);
    EXPECT_EQ(multi->band, "15m");
    EXPECT_EQ(multi->mode, "RTTY");
    EXPECT_EQ(multi->countryPrefix + " " + multi->continent, "JA AS");
    const auto vhf = Map("50 CW 2023-05-27 1200 K3SB 599 7 K1ZZ 599 15");
    ASSERT_TRUE(vhf);
    EXPECT_EQ(vhf->band + " " + std::to_string(vhf->frequencyHz), "6m 50000000") << "a band designator";
}

TEST_F(CabrilloQso, LinesThatDoNotReadSayWhy) {
    std::string why;
    EXPECT_FALSE(Map("14025 CW 2023-05-27 1200 K3SB 599 7 K1ZZ 599", &why));
    EXPECT_EQ(why.substr(0, why.find(':')), "9 fields, too few");
    EXPECT_FALSE(Map("14025 CW 2023-05-27 1200 K3SB 599 7 K1ZZ 599 15 1 x", &why));
    EXPECT_EQ(why.substr(0, why.find(':')), "12 fields, too many");
    EXPECT_FALSE(Map("14,025 CW 2023-05-27 1200 K3SB 599 7 K1ZZ 599 15", &why));
    EXPECT_EQ(why, "\"14,025\" is not a frequency in kHz");
    EXPECT_FALSE(Map("14025 CW 2023-5-27 1200 K3SB 599 7 K1ZZ 599 15", &why));
    EXPECT_EQ(why, "\"2023-5-27\" is not a date YYYY-MM-DD");
    EXPECT_FALSE(Map("14025 CW 2023-05-27 12:00 K3SB 599 7 K1ZZ 599 15", &why));
    EXPECT_EQ(why, "\"12:00\" is not a time HHMM");
}

}  // namespace
