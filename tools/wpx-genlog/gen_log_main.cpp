// wpx-genlog: writes a realistic CQ WPX contest log as ADIF, made from real
// contest calls (MASTER.SCP) and the country file (cty.csv). Seeded: the same
// options give the same file.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "log_generator.h"
#include "log_mapping.h"

using namespace tools;

namespace {

constexpr const char kUsage[] =
    "usage: wpx-genlog [options] -o LOG.adi\n"
    "  --mode cw|ssb     contest (default cw)\n"
    "  --qsos N          number of QSOs (default 3000)\n"
    "  --seed S          random seed (default 1)\n"
    "  --call CALL       own call (default DL5CW for CW, K3SB for SSB)\n"
    "  --start DATE      contest start YYYY-MM-DD (default the 2023 weekend)\n"
    "  --no-pfx          leave PFX out: the host works the prefixes out from the calls\n"
    "  --calls PATH      call list (default /usr/share/hamradio-files/MASTER.SCP)\n"
    "  --cty PATH        country file (default /usr/share/hamradio-files/cty.csv)\n"
    "  -o PATH           output file (default: standard output)\n";

}  // namespace

int main(int argc, char** argv) {
    GeneratorOptions o;
    std::string calls = "/usr/share/hamradio-files/MASTER.SCP", cty = "/usr/share/hamradio-files/cty.csv", out;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--mode") {
                const std::string m = value();
                if (m != "cw" && m != "ssb") throw std::invalid_argument("--mode takes cw or ssb");
                o.cw = m == "cw";
            } else if (a == "--qsos") {
                o.qsos = std::stoul(value());
            } else if (a == "--seed") {
                o.seed = std::stoull(value());
            } else if (a == "--call") {
                o.ownCall = value();
            } else if (a == "--start") {
                std::string d;
                for (char c : value())
                    if (c != '-') d.push_back(c);
                if (!ParseAdifDate(d)) throw std::invalid_argument("--start takes a date YYYY-MM-DD");
                o.year = std::stoi(d.substr(0, 4));
                o.month = std::stoi(d.substr(4, 2));
                o.day = std::stoi(d.substr(6, 2));
            } else if (a == "--no-pfx") {
                o.writePrefix = false;
            } else if (a == "--calls") {
                calls = value();
            } else if (a == "--cty") {
                cty = value();
            } else if (a == "-o") {
                out = value();
            } else if (a == "--help" || a == "-h") {
                std::fputs(kUsage, stdout);
                return 0;
            } else {
                throw std::invalid_argument("unknown option " + a);
            }
        }
        std::string error;
        const auto countries = CountryFile::Load(cty, &error);
        if (!countries) throw std::invalid_argument(error);
        const std::string adif = ToAdif(GenerateLog(o, ReadCallList(calls), *countries));
        if (out.empty()) {
            std::fwrite(adif.data(), 1, adif.size(), stdout);
        } else {
            std::ofstream file(out, std::ios::binary);
            if (!(file << adif)) throw std::invalid_argument(out + ": cannot write");
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wpx-genlog: %s\n\n%s", e.what(), kUsage);
        return 2;
    }
}
