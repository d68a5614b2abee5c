#include "platform/x11/compound_text.h"

#include "platform/codec.h"

namespace zorvek::x11 {

namespace {

enum class Charset { ascii, latin1, kana, jis0208, other94, other94x94 };

bool in_94(unsigned c) {
  return c >= 0x21 && c <= 0x7E;
}

class Decoder {
 public:
  explicit Decoder(std::string_view s) : s_(s) {}

  std::string run() {
    while (i_ < s_.size()) {
      const auto b = static_cast<unsigned char>(s_[i_]);
      if (b == 0x1B) {
        escape();
      } else if (b == 0x9B) {
        control_sequence();
      } else if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0)) {
        if (b == '\t' || b == '\n') pending_ += static_cast<char>(b);
        ++i_;
      } else if (b == 0x20) {
        pending_ += ' ';
        ++i_;
      } else {
        graphic(b >= 0x80 ? gr_ : gl_);
      }
    }
    flush();
    return std::move(out_);
  }

 private:
  // Text that is the same in UTF-8 and CP932 or still to be converted goes to pending_ as UTF-8;
  // double-byte JIS characters go straight to out_ as CP932.
  void flush() {
    if (!pending_.empty()) out_ += codec::to_cp932(pending_);
    pending_.clear();
  }

  void put_cp932(unsigned char lead, unsigned char trail) {
    flush();
    out_ += static_cast<char>(lead);
    out_ += static_cast<char>(trail);
  }

  void graphic(Charset set) {
    const unsigned c = static_cast<unsigned char>(s_[i_]) & 0x7F;
    switch (set) {
      case Charset::ascii:
        pending_ += static_cast<char>(c);
        ++i_;
        return;
      case Charset::latin1: {
        const unsigned code = c | 0x80;  // U+00A0..U+00FF
        pending_ += static_cast<char>(0xC0 | (code >> 6));
        pending_ += static_cast<char>(0x80 | (code & 0x3F));
        ++i_;
        return;
      }
      case Charset::kana:
        // Half-width katakana are single bytes 0xA1-0xDF in CP932 as well.
        if (c <= 0x5F) {
          flush();
          out_ += static_cast<char>(c | 0x80);
        } else {
          pending_ += '?';
        }
        ++i_;
        return;
      case Charset::jis0208: {
        const unsigned c2 = i_ + 1 < s_.size() ? static_cast<unsigned char>(s_[i_ + 1]) & 0x7F : 0;
        if (in_94(c) && in_94(c2)) {
          const unsigned lead = (c + 1) / 2 + (c <= 0x5E ? 0x70 : 0xB0);
          const unsigned trail = c2 + ((c & 1) != 0 ? (c2 >= 0x60 ? 0x20 : 0x1F) : 0x7E);
          put_cp932(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        } else {
          pending_ += '?';
        }
        i_ += 2;
        return;
      }
      case Charset::other94:
        pending_ += '?';
        ++i_;
        return;
      case Charset::other94x94:
        pending_ += '?';
        i_ += 2;
        return;
    }
  }

  static Charset set_94(char final) {
    switch (final) {
      case 'B':
      case 'J':  // JIS X 0201 Roman: ASCII but for the yen sign and overline
        return Charset::ascii;
      case 'I':
        return Charset::kana;
      default:
        return Charset::other94;
    }
  }

  static Charset set_94x94(char final) {
    return final == 'B' || final == '@' ? Charset::jis0208 : Charset::other94x94;
  }

  // ESC, intermediate bytes 0x20-0x2F, one final byte.
  void escape() {
    std::size_t j = i_ + 1;
    while (j < s_.size() && s_[j] >= 0x20 && s_[j] <= 0x2F) ++j;
    const std::string_view inter = s_.substr(i_ + 1, j - i_ - 1);
    if (j >= s_.size()) {
      i_ = s_.size();
      return;
    }
    const char final = s_[j];
    i_ = j + 1;
    if (inter == "(") {
      gl_ = set_94(final);
    } else if (inter == ")") {
      gr_ = set_94(final);
    } else if (inter == "-") {
      gr_ = final == 'A' ? Charset::latin1 : Charset::other94;
    } else if (inter == "$" || inter == "$(") {
      gl_ = set_94x94(final);
    } else if (inter == "$)") {
      gr_ = set_94x94(final);
    } else if (inter == "%" && final == 'G') {
      // UTF-8 up to ESC % @ (or the end).
      const std::size_t end = s_.find("\x1b%@", i_);
      pending_ += s_.substr(i_, end == std::string_view::npos ? end : end - i_);
      i_ = end == std::string_view::npos ? s_.size() : end + 3;
    } else if (inter == "%/") {
      // Extended segment of another encoding: two length bytes, then that many bytes.
      if (i_ + 2 > s_.size()) {
        i_ = s_.size();
        return;
      }
      const std::size_t length = (static_cast<unsigned char>(s_[i_]) & 0x7F) * 128u +
                                 (static_cast<unsigned char>(s_[i_ + 1]) & 0x7F);
      i_ += 2 + length;
      pending_ += '?';
    }
  }

  // CSI (direction of text): parameters up to a final byte 0x40-0x7E.
  void control_sequence() {
    ++i_;
    while (i_ < s_.size() && !(s_[i_] >= 0x40 && s_[i_] <= 0x7E)) ++i_;
    ++i_;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  Charset gl_ = Charset::ascii;
  Charset gr_ = Charset::latin1;
  std::string pending_;
  std::string out_;
};

}  // namespace

std::string compound_text_to_cp932(std::string_view text) {
  return Decoder(text).run();
}

}  // namespace zorvek::x11
