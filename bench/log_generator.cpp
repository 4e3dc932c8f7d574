// Writes the four log files of a 340-block string as ZELTA_Reader writes them
// at the Fast rate (header lines to Module(340), ";" and CR LF; a voltage and
// a temperature pass about every 25 s, an impedance pass every minute, the
// info passes once a day), with a few weak blocks planted:
//   17 voltage 3 % low; 123 running 8 °C hot; 250 impedance rising to +60 %;
//   300 silent for the last tenth of the time; 77 another software revision.
// Usage: zelta_log_generator DAYS FOLDER [SEED]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr int kBlocks = 340;
constexpr std::int64_t kStart = 19723LL * 86400;  // 2024-01-01 00:00:00

void civil(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

class LogFile {
 public:
  LogFile(const std::string& path, bool info) : f_(std::fopen(path.c_str(), "wb")) {
    if (!f_) {
      std::perror(path.c_str());
      std::exit(1);
    }
    line_ = "Timestamp";
    if (info) line_ += ";Name of Values";
    for (int n = 1; n <= kBlocks; ++n) line_ += ";Module(" + std::to_string(n) + ")";
    end();
  }
  ~LogFile() {
    flush();
    std::fclose(f_);
  }
  void begin(std::int64_t t) {
    int y, m, d;
    civil(t / 86400, y, m, d);
    const int s = static_cast<int>(t % 86400);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, s / 3600,
                  s / 60 % 60, s % 60);
    line_ = stamp;
  }
  void text(const char* s) {
    line_ += ';';
    line_ += s;
  }
  void empty() { line_ += ';'; }
  // A number given in units of 10^-decimals, written in general form
  // (trailing zeros dropped) or with all its decimals.
  void number(std::int64_t units, int decimals, bool general) {
    line_ += ';';
    if (units < 0) {
      line_ += '-';
      units = -units;
    }
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    appendInt(units / scale);
    std::int64_t frac = units % scale;
    int digits = decimals;
    if (general)
      while (digits > 0 && frac % 10 == 0) {
        frac /= 10;
        --digits;
      }
    if (digits == 0) return;
    line_ += '.';
    char buf[16];
    for (int i = digits - 1; i >= 0; --i) {
      buf[i] = static_cast<char>('0' + frac % 10);
      frac /= 10;
    }
    line_.append(buf, static_cast<std::size_t>(digits));
  }
  void end() {
    while (!line_.empty() && line_.back() == ';') line_.pop_back();
    line_ += "\r\n";
    out_ += line_;
    if (out_.size() > (1 << 20)) flush();
  }

 private:
  void appendInt(std::int64_t v) {
    char buf[24];
    int n = 0;
    do {
      buf[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v);
    while (n) line_ += buf[--n];
  }
  void flush() {
    std::fwrite(out_.data(), 1, out_.size(), f_);
    out_.clear();
  }
  std::FILE* f_;
  std::string line_, out_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DAYS FOLDER [SEED]\n", argv[0]);
    return 2;
  }
  const double days = std::atof(argv[1]);
  const std::string dir = argv[2];
  std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u);
  std::uniform_int_distribution<int> noise(-15, 15);
  std::uniform_int_distribution<int> missing(0, 1999);

  LogFile volt(dir + "/ZELTA_Reader_Voltages.csv", false);
  LogFile temp(dir + "/ZELTA_Reader_Temperatures.csv", false);
  LogFile imp(dir + "/ZELTA_Reader_Impedances.csv", false);
  LogFile info(dir + "/ZELTA_Reader_Info.csv", true);

  const auto end = kStart + static_cast<std::int64_t>(days * 86400);
  const std::int64_t silentFrom = kStart + static_cast<std::int64_t>(days * 86400 * 0.9);
  std::int64_t nextInfo = kStart, nextImpedance = kStart + 60;
  const auto answers = [&](int block, std::int64_t t) {
    return !(block == 300 && t >= silentFrom) && missing(random) != 0;
  };
  for (std::int64_t t = kStart; t < end; t += 25) {
    if (t >= nextInfo) {
      const char* kinds[] = {"Modultyp", "HW", "SW"};
      for (int k = 0; k < 3; ++k) {
        info.begin(t + k * 4);
        info.text(kinds[k]);
        for (int b = 1; b <= kBlocks; ++b) {
          if (!answers(b, t)) {
            info.empty();
            continue;
          }
          info.text(k == 0 ? "Q12" : k == 1 ? "3.1" : b == 77 ? "2.10.4" : "2.10.3");
        }
        info.end();
      }
      nextInfo += 86400;
    }
    volt.begin(t);
    for (int b = 1; b <= kBlocks; ++b) {
      if (!answers(b, t)) {
        volt.empty();
        continue;
      }
      const int mv = 13200 + noise(random) + (b == 17 ? -396 : 0);
      volt.number(mv, 3, false);
    }
    volt.end();
    temp.begin(t + 12);
    for (int b = 1; b <= kBlocks; ++b) {
      if (!answers(b, t)) {
        temp.empty();
        continue;
      }
      // Half degrees: 23 °C, warmer towards the middle of the string.
      const int half = 46 + (b > 100 && b < 240 ? 2 : 0) + noise(random) / 10 + (b == 123 ? 16 : 0);
      temp.number(half * 5, 1, true);
    }
    temp.end();
    if (t >= nextImpedance) {
      imp.begin(t + 20);
      const double progress = static_cast<double>(t - kStart) / static_cast<double>(end - kStart);
      for (int b = 1; b <= kBlocks; ++b) {
        if (!answers(b, t)) {
          imp.empty();
          continue;
        }
        const double rise = b == 250 ? 1.0 + 0.6 * progress : 1.0;
        imp.number(static_cast<std::int64_t>((350 + noise(random)) * rise), 2, true);
      }
      imp.end();
      nextImpedance += 60;
    }
  }
  return 0;
}
