#include "store/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <utility>

#include "platform/codec.h"
#include "store/store_error.h"
#include "text/cp932.h"

namespace zorvek {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

bool is_blank_line(std::string_view line) {
  return trim(line).empty();
}

// A line break cannot be part of a name or value: it would split the line. Such bytes are
// stored as blanks, and names are looked up the same way, so what is written is found again.
std::string without_line_breaks(std::string_view s) {
  std::string out(s);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return out;
}

// The form in which section and key names are compared: blanks around them dropped, and only
// single-byte A-Z case folded.
std::string name_key(std::string_view name) {
  if (name.find_first_of("\r\n") != std::string_view::npos) {
    return cp932::fold_ascii_case(trim(without_line_breaks(name)));
  }
  return cp932::fold_ascii_case(trim(name));
}

// name_key without a copy for the usual names ("kill12"), which are in that form already.
std::string_view compared_name(std::string_view name, std::string& scratch) {
  const bool plain = (name.empty() || (!is_blank(name.front()) && !is_blank(name.back()))) &&
                     std::none_of(name.begin(), name.end(), [](char c) {
                       return (c >= 'A' && c <= 'Z') || c == '\r' || c == '\n';
                     });
  if (plain) return name;
  scratch = name_key(name);
  return scratch;
}

// The name of the section a line opens: the text between its first non-blank character "[" and
// the last "]" on the line. "]" is looked for on character boundaries, as it can be the second
// byte of a double-byte character.
std::optional<std::string_view> header_name(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && is_blank(line[start])) ++start;
  if (start == line.size() || line[start] != '[') return std::nullopt;
  const std::string_view rest = line.substr(start);
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < rest.size(); i += cp932::char_length(rest, i)) {
    if (rest[i] == ']') close = i;
  }
  if (close == std::string_view::npos) return std::nullopt;
  return trim(rest.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};
using KeyEntry = KeyLine;

// A "key=value" line of a section. Comment lines (";"), lines starting with "[" and lines without
// "=" hold no key. The value loses surrounding blanks and one pair of enclosing quotes. ";", "["
// and "=" are never second bytes of a double-byte character, so plain byte tests are safe.
std::optional<KeyLine> key_line(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  // Keys are short: a plain loop meets "=" sooner than a call to memchr would.
  std::size_t eq = 0;
  while (eq < t.size() && t[eq] != '=') ++eq;
  if (eq == t.size()) return std::nullopt;
  std::string_view value = trim(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return KeyLine{trim(t.substr(0, eq)), value};
}

// The first CR or LF in s at or after from, or s.size(). Lines are short: testing sixteen bytes
// at a time for either byte beats two calls to memchr per line.
std::size_t find_line_break(std::string_view s, std::size_t from) {
  const char* p = s.data();
  const std::size_t n = s.size();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
    if (hits != 0) return i + static_cast<std::size_t>(__builtin_ctz(hits));
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\r' || p[i] == '\n') return i;
  }
  return n;
}

// Splits text into lines ending in CR LF, LF or a lone CR; the last line may have no ending.
class LineReader {
 public:
  explicit LineReader(std::string_view s) : s_(s) {}

  bool next(std::string_view& text, std::string_view& eol) {
    if (pos_ >= s_.size()) return false;
    const std::size_t end = find_line_break(s_, pos_);
    std::size_t eol_length = 0;
    if (end < s_.size()) {
      eol_length = s_[end] == '\r' && end + 1 < s_.size() && s_[end + 1] == '\n' ? 2 : 1;
    }
    text = s_.substr(pos_, end - pos_);
    eol = s_.substr(end, eol_length);
    pos_ = end + eol_length;
    return true;
  }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

struct Line {
  std::string_view text;  // without its line ending
  std::string_view eol;   // "\r\n", "\n", "\r", or empty for a last line without one
  bool removed = false;
  // Whether it holds a key, with its parts, once its section is indexed.
  bool is_key = false;
  std::string_view key;
  std::string_view value;

  static Line plain(std::string_view text, std::string_view eol) {
    Line line;
    line.text = text;
    line.eol = eol;
    return line;
  }
};

// The document's bytes as a list of pieces of text, joining those that lie next to each other in
// memory: the lines that no change touched stay one run of the original text.
class Pieces {
 public:
  void add(std::string_view piece) {
    if (piece.empty()) return;
    if (!runs_.empty() && runs_.back().data() + runs_.back().size() == piece.data()) {
      runs_.back() = std::string_view(runs_.back().data(), runs_.back().size() + piece.size());
    } else {
      runs_.push_back(piece);
    }
    size_ += piece.size();
  }

  const std::vector<std::string_view>& runs() const { return runs_; }
  std::size_t size() const { return size_; }

  bool operator==(std::string_view bytes) const {
    if (bytes.size() != size_) return false;
    for (const auto run : runs_) {
      if (bytes.substr(0, run.size()) != run) return false;
      bytes.remove_prefix(run.size());
    }
    return true;
  }

 private:
  std::vector<std::string_view> runs_;
  std::size_t size_ = 0;
};

// Whether a name as the file holds it (blanks already dropped) is the compared name wanted (as
// name_key gives it), without building the folded copy.
bool same_name(std::string_view stored, std::string_view wanted) {
  if (stored.size() != wanted.size()) return false;
  if (stored == wanted) return true;
  for (std::size_t i = 0; i < stored.size();) {
    const std::size_t n = cp932::char_length(stored, i);
    const auto c = static_cast<unsigned char>(stored[i]);
    if (n == 1) {
      const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : stored[i];
      if (lower != wanted[i]) return false;
    } else if (stored.compare(i, 2, wanted, i, 2) != 0) {
      return false;
    }
    i += n;
  }
  return true;
}

// The keys of one section: compared key -> number of the first line holding it. An open
// addressing table over views, so that indexing a section of thousands of keys allocates
// nothing per key.
class KeyIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void clear(std::size_t expected) {
    std::size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    slots_.assign(capacity, Slot{});
    used_ = 0;
  }

  std::size_t find(std::string_view key) const {
    const Slot* slot = locate(key, hash(key));
    return slot ? slot->line : kNone;
  }

  // False, changing nothing, when the key is there already.
  bool insert(std::string_view key, std::size_t line) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const std::size_t h = hash(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.line == kEmpty) {
        slot = Slot{key, line};
        ++used_;
        return true;
      }
      if (slot.line != kErased && slot.key == key) return false;
    }
  }

  void erase(std::string_view key) {
    // Left in place as a marker, counted in used_ until the table grows.
    if (Slot* slot = locate(key, hash(key))) slot->line = kErased;
  }

 private:
  static constexpr std::size_t kEmpty = kNone;
  static constexpr std::size_t kErased = kNone - 1;

  struct Slot {
    std::string_view key;
    std::size_t line = kEmpty;
  };

  Slot* locate(std::string_view key, std::size_t h) {
    return const_cast<Slot*>(std::as_const(*this).locate(key, h));
  }
  const Slot* locate(std::string_view key, std::size_t h) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.line == kEmpty) return nullptr;
      if (slot.line != kErased && slot.key == key) return &slot;
    }
  }

  // Eight bytes at a time, then the final mix of MurmurHash3: keys are short and alike.
  static std::size_t hash(std::string_view key) {
    constexpr std::uint64_t k = 0x9E3779B97F4A7C15u;
    std::uint64_t h = key.size() * k;
    for (std::size_t i = 0; i < key.size(); i += 8) {
      std::uint64_t w = 0;
      const std::size_t n = std::min<std::size_t>(8, key.size() - i);
      for (std::size_t j = 0; j < n; ++j) {
        w |= std::uint64_t{static_cast<unsigned char>(key[i + j])} << (8 * j);
      }
      h = (h ^ w) * k;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdu;
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
  }

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    clear(old.size());
    for (const Slot& slot : old) {
      if (slot.line != kEmpty && slot.line != kErased) insert(slot.key, slot.line);
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace

// The document is a list of sections, the first being the lines before any section header. A
// section stays one untouched run of the original bytes until it is first looked into: reading
// indexes its keys by their compared form, changing it splits it into lines first. So reading
// one section of a large file, or changing many keys in it, costs little more than reading the
// file.
//
// The lookups build these caches on demand, also from const members: a document must not be
// used from several threads at once.
struct IniDocument::Impl {
  struct Section {
    bool has_header = false;
    std::string_view name;  // as section_names() gives it: into the text or into owned
    std::string_view raw;   // all its bytes, header line included, until it is split
    bool split = false;
    std::vector<Line> lines;  // once split; lines[0] is the header line when there is one
    // The keys, indexed by their compared form. Reading a section that has not been split
    // indexes it without making lines: keys then gives positions in entries, which holds each
    // key line's key and value in order. Once split, keys gives line numbers.
    bool indexed = false;
    bool duplicate_keys = false;
    KeyIndex keys;  // the keys point into the text or into owned
    std::vector<KeyEntry> entries;
    std::size_t last_found = KeyIndex::kNone;  // the entry or line a lookup found last

    std::size_t first_body_line() const { return has_header ? 1 : 0; }
  };

  std::unique_ptr<char[]> buffer;  // the text that was parsed
  std::string_view source;
  std::deque<std::string> owned;  // text written since the parse; a deque never moves it
  std::vector<Section> sections;  // sections[0]: the lines before any section
  // The last section found by name: saving a list looks up the same section many times.
  std::string last_name;
  std::size_t last_section = 0;

  std::string_view keep(std::string text) { return owned.emplace_back(std::move(text)); }

  // Section headers are found on demand, in file order, only as far as a lookup needs: a
  // header starts with "[", so only the lines holding one are looked at, and the rest of the
  // text is passed over at the speed of memchr. The last section found so far is open: its
  // raw text runs to the end until the next header is found.
  std::size_t scan_from = 0;  // where the search for the next header goes on
  std::size_t open_start = 0;
  bool scanned = false;  // every header has been found
  std::size_t next_cr = 0;
  std::size_t next_lf = 0;

  void parse() {
    sections.clear();
    sections.emplace_back();
    sections.back().raw = source;
    scanned = source.empty();
  }

  std::size_t find_in_source(char c, std::size_t from) const {
    if (from >= source.size()) return source.size();
    const void* hit = std::memchr(source.data() + from, c, source.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - source.data())
               : source.size();
  }

  // Finds the next header: closes the open section before it and opens a new one. False when
  // there is none left; the open section then runs to the end.
  bool scan_next() {
    while (!scanned) {
      const std::size_t bracket = find_in_source('[', scan_from);
      if (bracket == source.size()) break;
      std::size_t line_start = bracket;
      while (line_start > 0 && is_blank(source[line_start - 1])) --line_start;
      if (next_cr <= bracket) next_cr = find_in_source('\r', bracket);
      if (next_lf <= bracket) next_lf = find_in_source('\n', bracket);
      const std::size_t line_end = std::min(next_cr, next_lf);
      scan_from = line_end;
      const bool at_line_start =
          line_start == 0 || source[line_start - 1] == '\r' || source[line_start - 1] == '\n';
      if (!at_line_start) continue;
      const auto name = header_name(source.substr(line_start, line_end - line_start));
      if (!name) continue;
      sections.back().raw = source.substr(open_start, line_start - open_start);
      Section& s = sections.emplace_back();
      s.has_header = true;
      s.name = *name;
      s.raw = source.substr(line_start);
      open_start = line_start;
      return true;
    }
    scanned = true;
    return false;
  }

  void scan_all() {
    while (scan_next()) {
    }
  }

  Section* find_section(std::string_view name) {
    if (last_section != 0 && name == last_name) return &sections[last_section];
    const std::string wanted = name_key(name);
    std::size_t found = 0;
    for (std::size_t i = 1; i < sections.size() && found == 0; ++i) {
      if (same_name(sections[i].name, wanted)) found = i;
    }
    while (found == 0 && scan_next()) {
      if (same_name(sections.back().name, wanted)) found = sections.size() - 1;
    }
    if (found == 0) return nullptr;
    // Its end is where the next header starts.
    if (found == sections.size() - 1) scan_next();
    last_name.assign(name);
    last_section = found;
    return &sections[found];
  }

  static void split(Section& s) {
    if (s.split) return;
    // What reading indexed refers to entries, not lines.
    s.indexed = false;
    s.entries = {};
    s.last_found = KeyIndex::kNone;
    s.lines.reserve(s.raw.size() / 48 + 2);
    LineReader reader(s.raw);
    std::string_view text;
    std::string_view eol;
    while (reader.next(text, eol)) s.lines.push_back(Line::plain(text, eol));
    s.split = true;
    s.raw = {};
  }

  // A key as the index holds it: the key itself when folding would not change it.
  std::string_view folded(std::string_view key) {
    const bool upper =
        std::any_of(key.begin(), key.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    return upper ? keep(cp932::fold_ascii_case(key)) : key;
  }

  // Indexes the lines of s, splitting it first: the form for changing it.
  void index_lines(Section& s) {
    split(s);
    if (s.indexed) return;
    s.keys.clear(s.lines.size());
    s.duplicate_keys = false;
    for (std::size_t i = s.first_body_line(); i < s.lines.size(); ++i) {
      if (s.lines[i].removed) continue;
      if (const auto kl = key_line(s.lines[i].text)) {
        s.lines[i].is_key = true;
        s.lines[i].key = kl->key;
        s.lines[i].value = kl->value;
        if (!s.keys.insert(folded(kl->key), i)) s.duplicate_keys = true;
      }
    }
    s.indexed = true;
  }

  // Indexes the key lines of s as they stand in its text, when it has not been split.
  void index_entries(Section& s) {
    if (s.indexed) return;
    s.keys.clear(s.raw.size() / 64 + 2);
    s.entries.reserve(s.raw.size() / 64 + 2);
    s.duplicate_keys = false;
    LineReader reader(s.raw);
    std::string_view text;
    std::string_view eol;
    if (s.has_header) reader.next(text, eol);
    while (reader.next(text, eol)) {
      if (const auto kl = key_line(text)) {
        s.entries.push_back(*kl);
        if (!s.keys.insert(folded(kl->key), s.entries.size() - 1)) s.duplicate_keys = true;
      }
    }
    s.indexed = true;
  }

  // Lists are read and written key after key in the order they are stored, so the key after
  // the one found last is tried first. Without duplicates, the line holding a key is the first
  // one holding it.
  template <typename Holds>
  std::size_t find(Section& s, std::string_view key, std::size_t count, const Holds& holds) {
    std::string scratch;
    const std::string_view wanted = compared_name(key, scratch);
    const std::size_t next = s.last_found + 1;
    if (!s.duplicate_keys && next < count && holds(next, wanted)) {
      s.last_found = next;
      return next;
    }
    const std::size_t found = s.keys.find(wanted);
    if (found != KeyIndex::kNone) s.last_found = found;
    return found;
  }

  // The number of the line holding key in s, or KeyIndex::kNone.
  std::size_t find_key(Section& s, std::string_view key) {
    index_lines(s);
    return find(s, key, s.lines.size(), [&](std::size_t i, std::string_view wanted) {
      const Line& line = s.lines[i];
      return !line.removed && line.is_key && same_name(line.key, wanted);
    });
  }

  // The value of key in s, without splitting it.
  std::optional<std::string_view> find_value(Section& s, std::string_view key) {
    if (s.split) {
      const std::size_t line = find_key(s, key);
      if (line == KeyIndex::kNone) return std::nullopt;
      return s.lines[line].value;
    }
    index_entries(s);
    const std::size_t entry =
        find(s, key, s.entries.size(), [&](std::size_t i, std::string_view wanted) {
          return same_name(s.entries[i].key, wanted);
        });
    if (entry == KeyIndex::kNone) return std::nullopt;
    return s.entries[entry].value;
  }

  // Makes sure the document ends with a line ending, so that a line can be appended to it.
  void end_last_line() {
    scan_all();
    for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
      if (!s->split) {
        if (s->raw.empty()) continue;
        const char last = s->raw.back();
        if (last == '\r' || last == '\n') return;
        split(*s);
      }
      for (auto line = s->lines.rbegin(); line != s->lines.rend(); ++line) {
        if (line->removed) continue;
        if (line->eol.empty()) line->eol = kCrLf;
        return;
      }
    }
  }

  Pieces pieces() const {
    Pieces out;
    for (const auto& s : sections) {
      if (!s.split) {
        out.add(s.raw);
        continue;
      }
      for (const auto& line : s.lines) {
        out.add(line.text);
        out.add(line.eol);
      }
    }
    return out;
  }

  // A new section at the end of the document; nullptr when the name cannot be held by a header
  // line (the header would not read back as this name).
  Section* append_section(std::string_view name) {
    const std::string wanted = name_key(name);
    const std::string stored = without_line_breaks(name);
    std::string header = "[" + stored + "]";
    std::optional<std::string_view> parsed = header_name(header);
    if (!parsed || cp932::fold_ascii_case(*parsed) != wanted) {
      // A name ending in a lone lead byte would take the "]" as its second byte.
      header = "[" + stored + " ]";
      parsed = header_name(header);
      if (!parsed || cp932::fold_ascii_case(*parsed) != wanted) return nullptr;
    }
    end_last_line();
    Section s;
    s.has_header = true;
    s.split = true;
    s.indexed = true;
    s.keys.clear(0);
    s.lines.push_back(Line::plain(keep(std::move(header)), kCrLf));
    s.name = *header_name(s.lines[0].text);
    sections.push_back(std::move(s));
    return &sections.back();
  }
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) {
  impl_->sections.emplace_back();
}
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument doc;
  Impl& d = *doc.impl_;
  d.buffer = std::make_unique_for_overwrite<char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), d.buffer.get());
  d.source = std::string_view(d.buffer.get(), bytes.size());
  d.parse();
  return doc;
}

std::string IniDocument::serialize() const {
  const Pieces pieces = impl_->pieces();
  std::string out;
  out.reserve(pieces.size());
  for (const auto run : pieces.runs()) out.append(run);
  return out;
}

std::vector<std::string> IniDocument::section_names() const {
  impl_->scan_all();
  std::vector<std::string> names;
  names.reserve(impl_->sections.size() - 1);
  for (std::size_t i = 1; i < impl_->sections.size(); ++i) {
    names.emplace_back(impl_->sections[i].name);
  }
  return names;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  Impl::Section* s = impl_->find_section(section);
  if (!s) return std::nullopt;
  const auto found = impl_->find_value(*s, key);
  if (!found) return std::nullopt;
  return std::string(*found);
}

void IniDocument::set_value(std::string_view section, std::string_view key,
                            std::string_view value) {
  const std::string stored_value = without_line_breaks(value);

  Impl::Section* s = impl_->find_section(section);
  if (s) {
    if (const std::size_t i = impl_->find_key(*s, key); i != KeyIndex::kNone) {
      // Replaced where it stands, keeping the name as the file spells it and the line's ending.
      Line& line = s->lines[i];
      const std::string_view old = line.text;
      const std::size_t key_size = line.key.size();
      if (old.size() != key_size + 1 + stored_value.size() || old.substr(0, key_size) != line.key ||
          old[key_size] != '=' || old.substr(key_size + 1) != stored_value) {
        line.text = impl_->keep(std::string(line.key) + "=" + stored_value);
        const KeyLine kl = *key_line(line.text);
        line.key = kl.key;
        line.value = kl.value;
      }
      return;
    }
  }

  const std::string wanted = name_key(key);
  std::string text = without_line_breaks(key) + "=" + stored_value;
  // A key that would not read back as itself ("a=b", ";x", "[x") is not written: its line
  // would hold another key, a comment or a section header.
  const auto parsed = key_line(text);
  if (!parsed || cp932::fold_ascii_case(parsed->key) != wanted) return;

  if (!s) s = impl_->append_section(section);
  if (!s) return;

  // After the last line of the section that is not blank, before any trailing blank lines.
  std::vector<Line>& lines = s->lines;
  std::size_t pos = lines.size();
  while (pos > s->first_body_line() &&
         (lines[pos - 1].removed || is_blank_line(lines[pos - 1].text))) {
    --pos;
  }
  // Removed lines there hold no key and nothing else: dropping them keeps later appends from
  // walking over them again.
  lines.erase(std::remove_if(lines.begin() + static_cast<std::ptrdiff_t>(pos), lines.end(),
                             [](const Line& l) { return l.removed; }),
              lines.end());
  if (pos > 0 && lines[pos - 1].eol.empty()) lines[pos - 1].eol = kCrLf;
  const std::string_view kept = impl_->keep(std::move(text));
  const KeyLine kl = *key_line(kept);
  Line line = Line::plain(kept, kCrLf);
  line.is_key = true;
  line.key = kl.key;
  line.value = kl.value;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), line);
  // Only blank lines follow the new one, so no indexed line has moved.
  s->keys.insert(impl_->keep(wanted), pos);
}

bool IniDocument::delete_key(std::string_view section, std::string_view key) {
  Impl::Section* s = impl_->find_section(section);
  if (!s) return false;
  const std::size_t line = impl_->find_key(*s, key);
  if (line == KeyIndex::kNone) return false;
  s->lines[line] = Line{};
  s->lines[line].removed = true;
  std::string scratch;
  const std::string_view wanted = compared_name(key, scratch);
  s->keys.erase(wanted);
  if (s->duplicate_keys) {
    // A later line with the same key now counts.
    for (std::size_t i = line + 1; i < s->lines.size(); ++i) {
      const Line& later = s->lines[i];
      if (later.is_key && !later.removed && same_name(later.key, wanted)) {
        s->keys.insert(impl_->folded(later.key), i);
        break;
      }
    }
  }
  return true;
}

bool IniDocument::erase_section(std::string_view section) {
  Impl::Section* s = impl_->find_section(section);
  if (!s) return false;
  impl_->sections.erase(impl_->sections.begin() + (s - impl_->sections.data()));
  impl_->last_section = 0;
  return true;
}

namespace {

enum class ReadResult { kRead, kMissing, kFailed };

struct FileText {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
};

// The whole file into out. Only regular files are read: a pipe or a device under the name
// must not block or flood the program.
ReadResult read_file(const std::string& path, FileText& out, struct stat& st) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return ReadResult::kFailed;
  }
  // One byte more than its size, to meet the end of the file without another call.
  std::size_t capacity = static_cast<std::size_t>(st.st_size) + 1;
  out.data = std::make_unique_for_overwrite<char[]>(capacity);
  out.size = 0;
  for (;;) {
    if (out.size == capacity) {  // it grew meanwhile
      auto bigger = std::make_unique_for_overwrite<char[]>(capacity * 2);
      std::memcpy(bigger.get(), out.data.get(), out.size);
      out.data = std::move(bigger);
      capacity *= 2;
    }
    const ssize_t n = ::read(fd, out.data.get() + out.size, capacity - out.size);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    out.size += static_cast<std::size_t>(n);
  }
  close(fd);
  return ReadResult::kRead;
}

// Writes the pieces in order, straight from where they lie: no copy of the whole file is made.
bool write_all(int fd, const Pieces& pieces) {
  const std::vector<std::string_view>& runs = pieces.runs();
  std::size_t next = 0;    // first run not written whole
  std::size_t offset = 0;  // bytes of it already written
  while (next < runs.size()) {
    iovec iov[256];
    int count = 0;
    for (std::size_t i = next; i < runs.size() && count < 256; ++i, ++count) {
      const std::size_t skip = i == next ? offset : 0;
      iov[count].iov_base = const_cast<char*>(runs[i].data() + skip);
      iov[count].iov_len = runs[i].size() - skip;
    }
    const ssize_t n = ::writev(fd, iov, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    offset += static_cast<std::size_t>(n);
    while (next < runs.size() && offset >= runs[next].size()) offset -= runs[next++].size();
  }
  return true;
}

// An exclusive advisory lock held for the life of the object. The lock file is never removed:
// removing it would let two writers lock two different files.
class FileLock {
 public:
  explicit FileLock(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      close(fd_);
      fd_ = -1;
      return;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The file a write replaces: the target of a symbolic link, so that the link stays a link.
std::string write_target(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      return target;
    }
  }
  return path;
}

// Replaces target with bytes: a temporary file beside it, written and flushed to the disk,
// renamed over it, and the folder flushed so that the rename lasts. The temporary file's name
// is fixed: only the holder of the lock writes it, and one left by a killed writer is simply
// replaced. Returns false on any failure, leaving target as it was.
bool replace_file(const std::string& target, const Pieces& bytes, const struct stat* old) {
  const std::string temp = target + ".tmp";
  if (unlink(temp.c_str()) != 0 && errno != ENOENT) return false;
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = write_all(fd, bytes);
  if (ok && old) {
    ok = fchmod(fd, old->st_mode & 07777) == 0;
    if (ok && (old->st_uid != geteuid() || old->st_gid != getegid())) {
      // Only root may give the file back to its owner; anyone else keeps it as their own.
      [[maybe_unused]] const int chowned = fchown(fd, old->st_uid, old->st_gid);
    }
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  const std::string folder = std::filesystem::path(target).parent_path().string();
  const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  // Some file systems cannot flush a folder (EINVAL); the rename is done all the same.
  const bool synced = fsync(dir) == 0 || errno == EINVAL;
  close(dir);
  return synced;
}

// A decimal integer with an optional sign, or hexadecimal after "0x"/"0X" as a 32-bit pattern
// (so 0xFFFFFFFF is -1).
std::optional<int> parse_integer(std::string_view s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    std::uint64_t v = 0;
    for (const char c : s.substr(2)) {
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return std::nullopt;
      }
      v = v * 16 + static_cast<std::uint64_t>(digit);
      if (v > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  std::int64_t v = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > std::int64_t{INT_MAX} + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

IniDocument IniFile::read() const {
  FileText text;
  struct stat st {};
  IniDocument doc;
  if (read_file(path_.string(), text, st) == ReadResult::kRead) {
    doc.impl_->buffer = std::move(text.data);
    doc.impl_->source = std::string_view(doc.impl_->buffer.get(), text.size);
    doc.impl_->parse();
  }
  return doc;
}

std::vector<std::string> IniFile::read_sections() const {
  return read().section_names();
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  if (auto v = read().value(section, key)) return std::move(*v);
  return std::string(default_value);
}

int IniFile::read_integer(std::string_view section, std::string_view key, int default_value) const {
  const auto v = read().value(section, key);
  if (!v) return default_value;
  return parse_integer(*v).value_or(default_value);
}

bool IniFile::read_bool(std::string_view section, std::string_view key, bool default_value) const {
  return read_integer(section, key, default_value ? 1 : 0) != 0;
}

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
  update([&](IniDocument& doc) { doc.set_value(section, key, value); });
}

void IniFile::write_integer(std::string_view section, std::string_view key, int value) {
  write_string(section, key, std::to_string(value));
}

void IniFile::write_bool(std::string_view section, std::string_view key, bool value) {
  write_string(section, key, value ? "1" : "0");
}

void IniFile::erase_section(std::string_view section) {
  update([&](IniDocument& doc) { doc.erase_section(section); });
}

void IniFile::delete_key(std::string_view section, std::string_view key) noexcept {
  try {
    update([&](IniDocument& doc) { doc.delete_key(section, key); });
  } catch (...) {
    // The key stays; nobody is told.
  }
}

void IniFile::update(const std::function<void(IniDocument&)>& change) {
  const std::string path = path_.string();
  const auto fail = [&] {
    throw StoreError(codec::to_cp932(path) + codec::to_cp932(" に書き込めません"));
  };

  const FileLock lock(path + ".lock");
  if (!lock.held()) fail();

  FileText text;
  struct stat st {};
  const ReadResult found = read_file(path, text, st);
  // A file that is there but cannot be read must not be replaced by what little we know of it.
  if (found == ReadResult::kFailed) fail();
  // A file the user may not write is refused, though renaming over it would work; and one the
  // user made read-only is refused even when running as root.
  if (found == ReadResult::kRead &&
      (!(st.st_mode & S_IWUSR) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)) {
    fail();
  }

  IniDocument doc;
  doc.impl_->buffer = std::move(text.data);
  doc.impl_->source = std::string_view(doc.impl_->buffer.get(), text.size);
  doc.impl_->parse();
  change(doc);
  const Pieces after = doc.impl_->pieces();
  if (after == doc.impl_->source) return;
  if (!replace_file(write_target(path), after, found == ReadResult::kRead ? &st : nullptr)) {
    fail();
  }
}

}  // namespace zorvek
