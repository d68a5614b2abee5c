#include "platform/codec.h"

#include <iconv.h>
#include <cerrno>

#include "text/cp932.h"

namespace zorvek::codec {

namespace {

// One converter per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in; on a sequence it cannot convert, calls skip(in, pos) which returns how many
  // input bytes to pass over after appending its stand-in to out. Returns false if skip was used.
  template <typename Skip>
  bool run(std::string_view in, std::string& out, Skip skip) {
    out.clear();
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    bool exact = true;
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char buffer[4096];
    while (src_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a sequence cut short at the end).
      exact = false;
      const std::size_t pos = in.size() - src_left;
      const std::size_t skipped = skip(in, pos, out);
      src += skipped;
      src_left -= skipped;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return exact;
  }

 private:
  iconv_t cd_;
};

std::size_t utf8_length(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  if (n > s.size() - i) n = s.size() - i;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return k;
  }
  return n;
}

bool utf8_to_cp932(std::string_view utf8, std::string& out) {
  thread_local Converter conv("CP932", "UTF-8");
  return conv.run(utf8, out, [](std::string_view in, std::size_t pos, std::string& o) {
    o += '?';
    return utf8_length(in, pos);
  });
}

}  // namespace

std::string to_cp932(std::string_view utf8) {
  std::string out;
  utf8_to_cp932(utf8, out);
  return out;
}

std::optional<std::string> to_cp932_exact(std::string_view utf8) {
  std::string out;
  if (!utf8_to_cp932(utf8, out)) return std::nullopt;
  return out;
}

std::string to_utf8(std::string_view cp932) {
  thread_local Converter conv("UTF-8", "CP932");
  std::string out;
  conv.run(cp932, out, [](std::string_view in, std::size_t pos, std::string& o) {
    o += "\xEF\xBF\xBD";
    return cp932::char_length(in, pos);
  });
  return out;
}

}  // namespace zorvek::codec
