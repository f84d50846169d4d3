// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the converter is measured against: only the work no conversion
// can avoid on the benchmark program. It reads the file in large blocks,
// finds the words of each block, steps arcs at 10 degrees with long double
// sine and cosine (one pair per arc, then the angle-sum rule), formats
// three-decimal numbers with integer code and writes the lines in large
// blocks. It is not a converter (no settings, no
// direction words, a simplified arc centre); its output only has the same
// shape and about the same number of lines and bytes.
//
// Usage: floor_sketch INPUT OUTPUT

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kBlock = 1 << 20;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Writes the decimal digits of `value` backwards, two at a time, ending
// before `end`; returns the first.
char* Digits(unsigned long long value, char* end) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * value, 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

// Lines go straight into one block of bytes, written when it is full.
class Output {
 public:
  explicit Output(std::FILE* file) : file_(file), buffer_(new char[kBlock + 256]), end_(buffer_) {}
  ~Output() {
    Flush();
    delete[] buffer_;
  }
  void Append(std::string_view text) {
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
  }
  void Append(char c) { *end_++ = c; }
  // value with three decimals, rounded in integer arithmetic
  void Number(long double value) {
    long long units = std::llrint(value * 1000);
    if (units < 0) {
      *end_++ = '-';
      units = -units;
    }
    char digits[24];
    char* first = Digits(static_cast<unsigned long long>(units), digits + sizeof digits);
    while (digits + sizeof digits - first < 4) *--first = '0';
    const std::size_t whole = static_cast<std::size_t>(digits + sizeof digits - first) - 3;
    std::memcpy(end_, first, whole);
    end_ += whole;
    *end_++ = '.';
    std::memcpy(end_, first + whole, 3);
    end_ += 3;
  }
  void Whole(long long value) {
    char digits[24];
    const char* first = Digits(static_cast<unsigned long long>(value), digits + sizeof digits);
    const auto count = static_cast<std::size_t>(digits + sizeof digits - first);
    std::memcpy(end_, first, count);
    end_ += count;
  }
  void EndLine() {
    *end_++ = '\r';
    *end_++ = '\n';
    if (static_cast<std::size_t>(end_ - buffer_) >= kBlock) Flush();
  }
  void Flush() {
    std::fwrite(buffer_, 1, static_cast<std::size_t>(end_ - buffer_), file_);
    end_ = buffer_;
  }

 private:
  std::FILE* file_;
  char* buffer_;
  char* end_;
};

long double ReadNumber(std::string_view line, std::size_t at) {
  bool negative = false;
  if (at < line.size() && line[at] == '-') {
    negative = true;
    ++at;
  }
  std::uint64_t mantissa = 0;
  int fraction = -1;
  for (; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '.') {
      fraction = 0;
    } else if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      if (fraction >= 0) ++fraction;
    } else {
      break;
    }
  }
  static constexpr long double kPow10[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
  long double value = static_cast<long double>(mantissa);
  if (fraction > 0) value /= kPow10[fraction < 9 ? fraction : 9];
  return negative ? -value : value;
}

struct Machine {
  long double x = 0, y = 0, z = 0, r = 0;
  int motion = 0;
  long long block = 1;
  long double degreesPerUnit = 360 / (kPi * 100);
};

void Write(Output& out, Machine& m, long double x, long double y) {
  out.Append('N');
  out.Whole(m.block++);
  out.Append(" G01 Z");
  out.Number(x);
  out.Append(" C");
  out.Number(360 - y * m.degreesPerUnit);
  out.EndLine();
}

void Block(Output& out, Machine& m, std::string_view line) {
  long double x = m.x, y = m.y;
  bool move = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    switch (line[i]) {
      case 'G': m.motion = static_cast<int>(ReadNumber(line, i + 1)); break;
      case 'X': x = ReadNumber(line, i + 1); move = true; break;
      case 'Y': y = ReadNumber(line, i + 1); move = true; break;
      case 'Z': m.z = ReadNumber(line, i + 1); move = true; break;
      case 'R': m.r = ReadNumber(line, i + 1); break;
      case '(': i = line.size(); break;
      default: break;
    }
  }
  if (!move) return;
  if ((m.motion == 2 || m.motion == 3) && m.r != 0) {
    // Centre on the chord's perpendicular bisector, then 10-degree steps.
    const long double mx = (m.x + x) / 2, my = (m.y + y) / 2;
    const long double dx = x - m.x, dy = y - m.y;
    const long double half = std::sqrt(dx * dx + dy * dy) / 2;
    const long double offset = std::sqrt(std::fmax(m.r * m.r - half * half, 0.0L)) / (2 * half);
    const long double sign = m.motion == 2 ? 1 : -1;
    const long double cx = mx + sign * dy * offset, cy = my - sign * dx * offset;
    const long double start = std::atan2(m.y - cy, m.x - cx);
    const long double end = std::atan2(y - cy, x - cx);
    long double sweep = m.motion == 2 ? start - end : end - start;
    if (sweep <= 0) sweep += 2 * kPi;
    const int steps = static_cast<int>(sweep / (10 * kPi / 180));
    // One sine and cosine per arc; each step turns the last point by the
    // step angle (angle-sum rule), as cheap as stepping can be.
    long double c = std::cos(start), s = std::sin(start);
    const long double stepCos = std::cos(10 * kPi / 180), stepSin = -sign * std::sin(10 * kPi / 180);
    for (int j = 1; j <= steps; ++j) {
      const long double nc = c * stepCos - s * stepSin;
      s = s * stepCos + c * stepSin;
      c = nc;
      Write(out, m, cx + m.r * c, cy + m.r * s);
    }
  }
  Write(out, m, x, y);
  m.x = x;
  m.y = y;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: floor_sketch INPUT OUTPUT\n", stderr);
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* outFile = std::fopen(argv[2], "wb");
  if (!in || !outFile) return 2;
  {
    Output out(outFile);
    Machine machine;
    std::string buffer;
    std::string rest;
    char block[kBlock];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, in)) > 0) {
      rest.append(block, got);
      std::size_t start = 0;
      for (std::size_t end; (end = rest.find('\n', start)) != std::string::npos; start = end + 1) {
        Block(out, machine, std::string_view(rest).substr(start, end - start));
      }
      rest.erase(0, start);
    }
    if (!rest.empty()) Block(out, machine, rest);
  }
  std::fclose(in);
  return std::fclose(outFile) == 0 ? 0 : 1;
}
