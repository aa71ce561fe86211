// Reading ADIF and mapping its records to the host's QSOs.
#include <gtest/gtest.h>

#include "adif.h"
#include "log_mapping.h"
#include "settings_key.h"
#include "test_support.h"

using namespace tools;
using stats::test::ReadFile;
using stats::test::ScratchDir;
using stats::test::WriteFile;

namespace {

class Adif : public ::testing::Test {
protected:
    std::vector<adif::Record> ReadAll(const std::string& text) {
        WriteFile("log.adi", text);
        adif::Reader reader("log.adi");
        std::vector<adif::Record> records;
        for (adif::Record r; reader.Next(r);) records.push_back(r);
        return records;
    }
    // The message of the FormatError the text gives.
    std::string ErrorOf(const std::string& text) {
        try {
            ReadAll(text);
        } catch (const adif::FormatError& e) {
            return e.what();
        }
        return "no error";
    }
    ScratchDir dir;
};

TEST_F(Adif, HeaderIsSkippedAndNamesIgnoreCase) {
    const auto records = ReadAll(
        "Exported log <ADIF_VER:5>3.1.0\r\n<eoh>\r\n"
        "<call:4>K1ZZ<Band:3:E>20m junk text <EOR>\r\n<CALL:6>DL1AAA <Comment:9>a <b> c d<eor>");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].number, 1u);
    EXPECT_EQ(*records[0].Find("CALL"), "K1ZZ");
    EXPECT_EQ(*records[0].Find("BAND"), "20m");
    EXPECT_EQ(records[0].Find("ADIF_VER"), nullptr);
    EXPECT_EQ(*records[1].Find("COMMENT"), "a <b> c d") << "a value is taken by its length";
    EXPECT_EQ(records[1].number, 2u);
}

TEST_F(Adif, AFileWithoutHeaderStartsWithARecord) {
    EXPECT_EQ(ReadAll("<CALL:4>K1ZZ <EOR>").size(), 1u);
    EXPECT_EQ(ReadAll("").size(), 0u);
}

TEST_F(Adif, MalformedInputNamesFileRecordAndField) {
    EXPECT_EQ(ErrorOf("<EOH><CALL:4>K1ZZ<EOR><CALL:x>K1ZZ<EOR>"),
              "log.adi: record 2, field CALL: the length \"x\" is not a number");
    EXPECT_EQ(ErrorOf("<EOH><CALL:10>K1ZZ<EOR>"), "log.adi: record 1, field CALL: the value is cut short by the end of the file");
    EXPECT_EQ(ErrorOf("<CALL:4>K1ZZ"), "log.adi: record 1: the file ends without the record's <EOR>");
    EXPECT_EQ(ErrorOf("<CALL:4>K1ZZ<EOR><CALL"), "log.adi: record 2: the file ends inside the tag <CALL");
    EXPECT_EQ(ErrorOf("<CALL>K1ZZ<EOR>"), "log.adi: record 1, field CALL: no length in <CALL>");
    EXPECT_EQ(ErrorOf("<CALL:4>K1ZZ<EOR><EOH>"), "log.adi: record 2: an <EOH> after the header");
}

class Mapping : public Adif {
protected:
    std::optional<HostQso> Map(const std::string& fields, std::string* skipped = nullptr,
                               const CountryFile* countries = nullptr) {
        const auto records = ReadAll(fields + "<EOR>");
        return MapRecord(records.at(0), "log.adi", countries, skipped);
    }
};

TEST_F(Mapping, FieldsBecomeTheHostsArguments) {
    const auto q = Map(
        "<CALL:7>dl1abc  <QSO_DATE:8>20230527<TIME_ON:6>123456<FREQ:9>14.025999<BAND:3>20M<MODE:2>cw"
        "<RST_SENT:3>599<RST_RCVD:3>579<STX:1>7<STX_STRING:3>007<SRX:2>12<DXCC:3>230<CONT:2>eu");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->call, "dl1abc");
    EXPECT_EQ(stats::FormatOleDate(q->time, "%Y-%m-%d %H:%M:%S"), "2023-05-27 12:34:56");
    EXPECT_EQ(q->frequencyHz, 14025999u);
    EXPECT_EQ(q->band, "20m");
    EXPECT_EQ(q->mode, "CW");
    EXPECT_EQ(q->rstSent, "599");
    EXPECT_EQ(q->rstReceived, "579");
    EXPECT_EQ(q->exchangeSent, "007") << "the logged text comes before the number";
    EXPECT_EQ(q->exchangeReceived, "12");
    EXPECT_EQ(q->wpxPrefix, "DL1") << "worked out from the call";
    EXPECT_EQ(q->countryPrefix, "230") << "the entity number stands in without a country file";
    EXPECT_EQ(q->continent, "EU");
}

TEST_F(Mapping, TheCountryFileNamesCountriesAndContinents) {
    const CountryFile countries = CountryFile::Parse(
        "DL,Fed. Rep. of Germany,230,EU,14,28,51.00,-10.00,-1.0,DA DL;\n"
        "K,United States,291,NA,5,8,37.60,91.87,5.0,K W;\n");
    const std::string base = "<CALL:4>W1AW<QSO_DATE:8>20230527<TIME_ON:4>1234";
    EXPECT_EQ(Map(base + "<DXCC:3>230", nullptr, &countries)->countryPrefix, "DL");
    EXPECT_EQ(Map(base + "<COUNTRY:13>UNITED STATES", nullptr, &countries)->countryPrefix, "K");
    // The plug-in compares country texts with the own station's primary
    // prefix: a name the file does not know gives way to the call.
    EXPECT_EQ(Map(base + "<COUNTRY:7>Nowhere", nullptr, &countries)->countryPrefix, "K");
    {
        const auto records = ReadAll("<CALL:5>Q1ABC<QSO_DATE:8>20230527<TIME_ON:4>1234<CONT:2>eu<EOR>");
        std::string warning;
        const auto q = MapRecord(records.at(0), "log.adi", &countries, nullptr, nullptr, &warning);
        ASSERT_TRUE(q) << "a QSO in no known country is still passed";
        EXPECT_EQ(q->countryPrefix, "");
        EXPECT_EQ(q->continent, "EU");
        EXPECT_EQ(warning, "no country for Q1ABC in the country file: passed without one");
    }
    const auto byCall = Map(base + "<FREQ:5>7.015<PFX:2>w1", nullptr, &countries);
    EXPECT_EQ(byCall->countryPrefix, "K");
    EXPECT_EQ(byCall->continent, "NA");
    EXPECT_EQ(byCall->band, "40m") << "the band of the frequency";
    EXPECT_EQ(byCall->wpxPrefix, "W1");
}

// The log's names are DXCC entities; cty.dat's "*" countries have none of
// their own, so a call in one of them stays there, with or without COUNTRY.
TEST_F(Mapping, ACountryNameDoesNotUndoTheListCountriesOfCtyDat) {
    const CountryFile countries = CountryFile::Parse(
        "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
        "    IT9;\n"
        "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
        "    I;\n");
    const std::string logged = "<QSO_DATE:8>20230527<TIME_ON:4>1234<DXCC:3>248<COUNTRY:5>ITALY";
    EXPECT_EQ(Map("<CALL:6>IT9ABC" + logged, nullptr, &countries)->countryPrefix, "IT9");
    EXPECT_EQ(Map("<CALL:6>IT9ABC<QSO_DATE:8>20230527<TIME_ON:4>1234", nullptr, &countries)->countryPrefix, "IT9");
    EXPECT_EQ(Map("<CALL:5>I1ABC" + logged, nullptr, &countries)->countryPrefix, "I");
}

TEST_F(Mapping, RecordsTheHostCannotLogAreSkippedWithTheReason) {
    std::string why;
    EXPECT_FALSE(Map("<QSO_DATE:8>20230527<TIME_ON:4>1234", &why));
    EXPECT_EQ(why, "no CALL");
    EXPECT_FALSE(Map("<CALL:4>K1ZZ<QSO_DATE:8>20230527<TIME_ON:0>", &why));
    EXPECT_EQ(why, "no TIME_ON");
    EXPECT_FALSE(Map("<CALL:4>K1ZZ<TIME_ON:4>1234", &why));
    EXPECT_EQ(why, "no QSO_DATE");
    EXPECT_FALSE(Map("<CALL:4>K1ZZ<QSO_DATE:8>20230527<TIME_ON:4>1234<FREQ:7>10368.1", &why));
    EXPECT_NE(why.find("beyond"), std::string::npos);
}

TEST_F(Mapping, MalformedValuesAreErrorsNamingTheField) {
    auto error = [&](const std::string& fields) {
        try {
            Map("<CALL:4>K1ZZ" + fields);
        } catch (const adif::FormatError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error("<QSO_DATE:8>20230230<TIME_ON:4>1234"),
              "log.adi: record 1, field QSO_DATE: \"20230230\" is not a date YYYYMMDD");
    EXPECT_EQ(error("<QSO_DATE:8>20230527<TIME_ON:4>2460"),
              "log.adi: record 1, field TIME_ON: \"2460\" is not a time HHMM or HHMMSS");
    EXPECT_EQ(error("<QSO_DATE:8>20230527<TIME_ON:4>1234<FREQ:4>14,1"),
              "log.adi: record 1, field FREQ: \"14,1\" is not a frequency in MHz");
    EXPECT_EQ(error("<DXCC:2>DL"), "log.adi: record 1, field DXCC: \"DL\" is not an entity number");
}

TEST(HostDates, CalendarRoundTripAndKnownValues) {
    EXPECT_DOUBLE_EQ(HostDateOf(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(HostDateOf(2023, 5, 27, 12), 45073.5);
    int y, mo, d, h, mi, s;
    CalendarOf(HostDateOf(2024, 2, 29, 23, 59, 59), y, mo, d, h, mi, s);
    EXPECT_EQ((std::vector<int>{y, mo, d, h, mi, s}), (std::vector<int>{2024, 2, 29, 23, 59, 59}));
    EXPECT_FALSE(ParseAdifDate("20230229"));
    EXPECT_TRUE(ParseAdifDate("20240229"));
    EXPECT_EQ(ParseMegahertz("7"), 7000000u);
    EXPECT_EQ(ParseMegahertz(".5"), 500000u);
    EXPECT_FALSE(ParseMegahertz("."));
    EXPECT_EQ(BandOfFrequency(1850000), "160m");
    EXPECT_EQ(BandOfFrequency(14350001), "");
}

TEST(SettingsKey, SetsOneKeyAndKeepsEveryOtherLine) {
    ScratchDir dir;
    WriteFile("p.ini", "[Other]\nCW=5\n[settings]\nName=Me\ncw = 0\n[Last]\nX=1\n");
    ASSERT_TRUE(WriteSettingsKey("p.ini", "Settings", "CW", "1"));
    ASSERT_TRUE(WriteSettingsKey("p.ini", "Settings", "Start", "1"));
    EXPECT_EQ(ReadFile("p.ini"), "[Other]\r\nCW=5\r\n[settings]\r\nName=Me\r\nCW=1\r\nStart=1\r\n[Last]\r\nX=1\r\n");
    ASSERT_TRUE(WriteSettingsKey("new.ini", "Settings", "CW", "0"));
    EXPECT_EQ(ReadFile("new.ini"), "[Settings]\r\nCW=0\r\n");
}

}  // namespace
