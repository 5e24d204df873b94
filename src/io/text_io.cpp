#include "io/text_io.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>

namespace corvan {

// ---------------------------------------------------------------------------
// Fatal stop

namespace {

// A stop's lines are message records: each starts with one blank (added
// when the text does not bring its own); an empty line stays empty.
void stop_line(std::string_view l) {
    if (!l.empty() && l.front() != ' ') std::cout << ' ';
    std::cout << l << '\n';
}

#ifdef CORVAN_FUZZ_HOOKS
void (*stop_hook)() = nullptr;
#endif

[[noreturn]] void stop_now() {
    std::cout.flush();
    std::fflush(stdout);
#ifdef CORVAN_FUZZ_HOOKS
    if (stop_hook != nullptr) stop_hook();
#endif
    std::exit(1);
}

}  // namespace

#ifdef CORVAN_FUZZ_HOOKS
void set_stop_hook(void (*hook)()) { stop_hook = hook; }
#endif

[[noreturn]] void stop(std::initializer_list<std::string_view> lines) {
    for (std::string_view l : lines) stop_line(l);
    stop_now();
}

[[noreturn]] void stop(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) stop_line(l);
    stop_now();
}

// ---------------------------------------------------------------------------
// Single edit descriptors

namespace {

// The field writers append to out through stack buffers: a formatted record
// costs no allocation once out has its capacity.

// Appends text right-aligned in w columns (asterisks when longer; as it
// stands when w < 0).
void put_right(std::string& out, const char* text, std::size_t n, int w) {
    if (w < 0) {
        out.append(text, n);
        return;
    }
    const std::size_t width = static_cast<std::size_t>(w);
    if (n > width) {
        out.append(width, '*');
        return;
    }
    // One growth of out, then the text over the end of the blanks.
    out.append(width, ' ');
    std::memcpy(out.data() + out.size() - n, text, n);
}

// A field too narrow for its value.
void put_stars(std::string& out, int w) { out.append(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// A value that is not finite, right-aligned in w columns.
void put_non_finite(std::string& out, double v, int w) {
    const char* t = std::isnan(v) ? "NaN" : (v < 0 ? (w >= 9 ? "-Infinity" : "-Inf") : (w >= 8 ? "Infinity" : "Inf"));
    put_right(out, t, std::strlen(t), w);
}

// --- general path: printf digits. Kept for what the fast path below does
// not cover, and as its reference.

void put_i_general(std::string& out, long long v, int w) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%lld", v);
    put_right(out, buf, static_cast<std::size_t>(n), w);
}

// Fw.d from the digits of %.*f in buf[0..n) (buf writable, n >= 1).
void put_fixed_field(std::string& out, char* buf, int n, int w) {
    char* p = buf;
    if (n > w) {
        // The leading zero of a value below one is optional.
        if (buf[0] == '0' && buf[1] == '.') {
            ++p;
            --n;
        } else if (buf[0] == '-' && buf[1] == '0' && buf[2] == '.') {
            buf[1] = '-';
            ++p;
            --n;
        }
    }
    put_right(out, p, static_cast<std::size_t>(n), w);
}

void put_f_general(std::string& out, double v, int w, int d) {
    if (!std::isfinite(v)) return put_non_finite(out, v, w);
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, "%.*f", d, v);
    if (n < 0 || n >= static_cast<int>(sizeof buf)) return put_stars(out, w);
    put_fixed_field(out, buf, n, w);
}

// Ew.d from the field text s[0..n) "-0.ddddE+xx" (s writable).
void put_exponent_field(std::string& out, char* s, int n, int w) {
    const char* p = s;
    if (n > w) {
        // The leading zero is optional: drop it when the field is narrow.
        if (s[0] == '0') {
            ++p;
            --n;
        } else {
            s[1] = '-';
            ++p;
            --n;
        }
    }
    put_right(out, p, static_cast<std::size_t>(n), w);
}

// Writes the start of an Ew.d field, "-0." or "0.", to s; returns its length.
int mantissa_start(char* s, double v) {
    int n = 0;
    if (std::signbit(v) && v != 0.0) s[n++] = '-';
    s[n++] = '0';
    s[n++] = '.';
    return n;
}

void put_e_general(std::string& out, double v, int w, int d) {
    if (!std::isfinite(v)) return put_non_finite(out, v, w);
    if (d < 1) d = 1;
    if (d > 40) d = 40;
    char s[64];
    int n = mantissa_start(s, v);
    int exp10 = 0;
    if (v == 0.0) {
        for (int k = 0; k < d; ++k) s[n++] = '0';
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(v));
        // buf is "d.ddddde+XX": the mantissa digits, then the exponent.
        const char* e = std::strchr(buf, 'e');
        s[n++] = buf[0];
        for (const char* c = buf + 2; c < e; ++c) s[n++] = *c;
        exp10 = std::atoi(e + 1) + 1;
    }
    const int ae = exp10 < 0 ? -exp10 : exp10;
    const char sign = exp10 < 0 ? '-' : '+';
    if (ae <= 99) n += std::snprintf(s + n, sizeof s - static_cast<std::size_t>(n), "E%c%02d", sign, ae);
    else if (ae <= 999) n += std::snprintf(s + n, sizeof s - static_cast<std::size_t>(n), "%c%03d", sign, ae);
    else return put_stars(out, w);  // no exponent form fits
    put_exponent_field(out, s, n, w);
}

void put_ld_real_general(std::string& out, double v) {
    if (!std::isfinite(v)) return put_non_finite(out, v, 23);
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%23.15E", v);
    out.append(buf, static_cast<std::size_t>(n));
}

// --- fast path: std::to_chars gives the digits printf gives (both round
// correctly, ties to even), without parsing a format or taking a lock. It
// covers the widths and digit counts the program's files use; anything else
// goes the general way.

constexpr int kFastDigits = 17;  // most digits the fast path writes after the point
constexpr double kFastFixedLimit = 1e17;  // F fields above this go the general way

void put_i(std::string& out, long long v, int w) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    put_right(out, buf, static_cast<std::size_t>(r.ptr - buf), w);
}

void put_f(std::string& out, double v, int w, int d) {
    if (!std::isfinite(v) || d < 0 || d > kFastDigits || !(std::fabs(v) < kFastFixedLimit)) {
        return put_f_general(out, v, w, d);
    }
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d);
    put_fixed_field(out, buf, static_cast<int>(r.ptr - buf), w);
}

void put_e(std::string& out, double v, int w, int d) {
    if (!std::isfinite(v) || d < 1 || d > kFastDigits) return put_e_general(out, v, w, d);
    char s[48];
    int n = mantissa_start(s, v);
    int exp10 = 0;
    if (v == 0.0) {
        std::memset(s + n, '0', static_cast<std::size_t>(d));
        n += d;
    } else {
        // "d.ddde+XX" (or "de+XX" for one digit): the digits move behind the point.
        char buf[40];
        const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, d - 1);
        const char* e = std::find(buf, r.ptr, 'e');
        s[n++] = buf[0];
        for (const char* c = buf + 2; c < e; ++c) s[n++] = *c;
        int x = 0;
        for (const char* c = e + 2; c < r.ptr; ++c) x = 10 * x + (*c - '0');
        exp10 = (e[1] == '-' ? -x : x) + 1;
    }
    const int ae = exp10 < 0 ? -exp10 : exp10;
    if (ae > 999) return put_stars(out, w);  // no exponent form fits
    // Two exponent digits after an E, or three taking the E's place.
    if (ae <= 99) s[n++] = 'E';
    s[n++] = exp10 < 0 ? '-' : '+';
    if (ae > 99) s[n++] = static_cast<char>('0' + ae / 100);
    s[n++] = static_cast<char>('0' + ae / 10 % 10);
    s[n++] = static_cast<char>('0' + ae % 10);
    put_exponent_field(out, s, n, w);
}

// A real item of a list-directed record: %23.15E.
void put_ld_real(std::string& out, double v) {
    if (!std::isfinite(v)) return put_non_finite(out, v, 23);
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 15);
    char* e = std::find(buf, r.ptr, 'e');
    if (e != r.ptr) *e = 'E';
    put_right(out, buf, static_cast<std::size_t>(r.ptr - buf), 23);
}

void put_a(std::string& out, std::string_view s, int w) {
    if (w >= 0 && s.size() >= static_cast<std::size_t>(w)) {
        out.append(s.substr(0, static_cast<std::size_t>(w)));
        return;
    }
    put_right(out, s.data(), s.size(), w);
}

}  // namespace

namespace {

// The text of one field writer's output.
template <class... A>
std::string field(void (*put)(std::string&, A...), A... a) {
    std::string s;
    put(s, a...);
    return s;
}

}  // namespace

std::string fmt_i(long long v, int w) { return field(put_i, v, w); }
std::string fmt_f(double v, int w, int d) { return field(put_f, v, w, d); }
std::string fmt_e(double v, int w, int d) { return field(put_e, v, w, d); }
std::string fmt_i_general(long long v, int w) { return field(put_i_general, v, w); }
std::string fmt_f_general(double v, int w, int d) { return field(put_f_general, v, w, d); }
std::string fmt_e_general(double v, int w, int d) { return field(put_e_general, v, w, d); }
std::string ld_real(double v) { return field(put_ld_real, v); }
std::string ld_real_general(double v) { return field(put_ld_real_general, v); }

std::string fmt_a(std::string_view s, int w) {
    std::string r;
    put_a(r, s, w);
    return r;
}

// ---------------------------------------------------------------------------
// Format

namespace {

struct Parser {
    std::string_view t;
    std::size_t p = 0;

    [[noreturn]] void bad() const {
        stop({" internal error: bad format " + std::string(t)});
    }
    void blanks() {
        while (p < t.size() && (t[p] == ' ' || t[p] == ',')) ++p;
    }
    int number() {
        int v = 0;
        bool any = false;
        while (p < t.size() && std::isdigit(static_cast<unsigned char>(t[p]))) {
            v = v * 10 + (t[p] - '0');
            ++p;
            any = true;
        }
        return any ? v : -1;
    }
    std::vector<Format::Item> list() {
        std::vector<Format::Item> out;
        for (;;) {
            blanks();
            if (p >= t.size()) bad();
            if (t[p] == ')') { ++p; return out; }
            Format::Item it;
            const int n = number();
            if (p >= t.size()) bad();
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[p])));
            if (c == '(') {
                ++p;
                it.kind = '(';
                it.repeat = n < 0 ? 1 : n;
                it.sub = list();
            } else if (c == '\'' || c == '"') {
                const char q = t[p++];
                it.kind = '\'';
                for (;;) {
                    if (p >= t.size()) bad();
                    if (t[p] == q) {
                        if (p + 1 < t.size() && t[p + 1] == q) { it.text.push_back(q); p += 2; continue; }
                        ++p;
                        break;
                    }
                    it.text.push_back(t[p++]);
                }
            } else if (c == 'X') {
                ++p;
                it.kind = 'X';
                it.repeat = n < 0 ? 1 : n;
            } else if (c == '/') {
                ++p;
                it.kind = '/';
            } else if (c == 'I' || c == 'F' || c == 'E' || c == 'A') {
                ++p;
                it.kind = c;
                it.repeat = n < 0 ? 1 : n;
                it.w = number();
                if (p < t.size() && t[p] == '.') { ++p; it.d = number(); }
                if (c != 'A' && it.w < 0) bad();
                if ((c == 'F' || c == 'E') && it.d < 0) bad();
            } else {
                bad();
            }
            out.push_back(std::move(it));
        }
    }
};

void edit(std::string& rec, const Format::Item& it, const FmtArg& a) {
    const double r = a.kind == FmtArg::Real ? a.r : static_cast<double>(a.i);
    switch (it.kind) {
    case 'I':
        put_i(rec, a.kind == FmtArg::Int ? a.i : static_cast<long long>(a.r), it.w);
        break;
    case 'F':
        put_f(rec, r, it.w, it.d);
        break;
    case 'E':
        put_e(rec, r, it.w, it.d);
        break;
    default:  // 'A'
        if (a.kind == FmtArg::Str) put_a(rec, a.s, it.w);
        else put_a(rec, a.kind == FmtArg::Int ? std::to_string(a.i) : std::to_string(a.r), it.w);
        break;
    }
}

}  // namespace

Format::Format(std::string_view text) {
    Parser ps{text};
    ps.blanks();
    if (ps.p >= text.size() || text[ps.p] != '(') ps.bad();
    ++ps.p;
    items_ = ps.list();
    for (int k = static_cast<int>(items_.size()) - 1; k >= 0; --k) {
        if (items_[static_cast<std::size_t>(k)].kind == '(') { reversion_ = k; break; }
    }
    for (const Item& it : items_) {
        if (it.kind != 'I' && it.kind != 'F' && it.kind != 'E' && it.kind != 'A') {
            flat_.clear();
            break;
        }
        flat_.insert(flat_.end(), static_cast<std::size_t>(it.repeat), it);
    }
}

bool Format::run(const std::vector<Item>& list, std::string& out, std::string& rec, int& pending,
                 const FmtArg* a, std::size_t n, std::size_t& k) const {
    for (const Item& it : list) {
        switch (it.kind) {
        case 'X':
            pending += it.repeat;
            break;
        case '\'':
            rec.append(static_cast<std::size_t>(pending), ' ');
            pending = 0;
            rec += it.text;
            break;
        case '/':
            out += rec;
            out += '\n';
            rec.clear();
            pending = 0;
            break;
        case '(':
            for (int r = 0; r < it.repeat; ++r)
                if (!run(it.sub, out, rec, pending, a, n, k)) return false;
            break;
        default:
            for (int r = 0; r < it.repeat; ++r) {
                if (k >= n) return false;
                rec.append(static_cast<std::size_t>(pending), ' ');
                pending = 0;
                edit(rec, it, a[k++]);
            }
            break;
        }
    }
    return true;
}

void Format::append(std::string& out, const FmtArg* a, std::size_t n) const {
    if (!flat_.empty()) {
        // As run below for such a format: a record per pass over the
        // descriptors, the last one ended where the items end.
        std::size_t k = 0;
        for (;;) {
            for (const Item& it : flat_) {
                if (k >= n) break;
                edit(out, it, a[k++]);
            }
            if (k >= n) break;
            out += '\n';
        }
        out += '\n';
        return;
    }
    // The record under construction keeps its capacity between calls, so
    // writing many lines allocates nothing per line.
    static thread_local std::string rec;
    rec.clear();
    int pending = 0;
    std::size_t k = 0;
    bool more = run(items_, out, rec, pending, a, n, k);
    while (more && k < n) {
        // Items outlast the format: a new record from the reversion point.
        out += rec;
        out += '\n';
        rec.clear();
        pending = 0;
        const std::size_t before = k;
        if (reversion_ < 0) {
            more = run(items_, out, rec, pending, a, n, k);
        } else {
            const std::vector<Item> tail(items_.begin() + reversion_, items_.end());
            more = run(tail, out, rec, pending, a, n, k);
        }
        if (k == before) break;  // a format without data descriptors
    }
    out += rec;
    out += '\n';
}

std::string Format::apply(std::initializer_list<FmtArg> items) const {
    std::string out;
    append(out, items.begin(), items.size());
    return out;
}

std::string Format::apply(const std::vector<FmtArg>& items) const {
    std::string out;
    append(out, items.data(), items.size());
    return out;
}

// ---------------------------------------------------------------------------
// List-directed output

namespace {

// Appends the list-directed record of the items (without the newline).
void append_ld(std::string& s, std::initializer_list<FmtArg> items) {
    if (items.size() == 0) return;  // a blank record is an empty line
    s += ' ';
    bool after_number = false;
    for (const FmtArg& a : items) {
        switch (a.kind) {
        case FmtArg::Int:
            put_i(s, a.i, 12);
            break;
        case FmtArg::Real:
            put_ld_real(s, a.r);
            break;
        case FmtArg::Str:
            if (after_number) s += ' ';
            s += a.s;
            break;
        }
        after_number = a.kind != FmtArg::Str;
    }
}

}  // namespace

std::string ld_record(std::initializer_list<FmtArg> items) {
    std::string s;
    append_ld(s, items);
    return s;
}

void say(std::initializer_list<FmtArg> items) { std::cout << ld_record(items) << '\n'; }

void say_line(std::string_view text) { std::cout << text << '\n'; }

void flush_output() { std::cout.flush(); }

void warn_line(std::string_view text) { std::cerr << text << '\n'; }

void say_fmt(const Format& f, std::initializer_list<FmtArg> items) { std::cout << f.apply(items); }

// ---------------------------------------------------------------------------
// TextFile

TextFile::TextFile(const std::string& path) : path_(path) {
    errno = 0;
    out_.open(path, std::ios::out | std::ios::trunc);
    if (!out_.is_open()) {
        stop({" Output error: cannot open file " + path + (errno != 0 ? " (" + std::string(std::strerror(errno)) + ")" : "")});
    }
    open_ = true;
    buf_.reserve(kBufferSize + kBufferSize / 8);
}

TextFile::~TextFile() {
    if (open_) close();
}

void TextFile::flush_buffer() {
    out_.write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
    buf_.clear();
    if (!out_) stop({" Output error: writing file " + path_ + " failed"});
}

void TextFile::line(std::string_view text) {
    buf_ += text;
    buf_ += '\n';
    if (buf_.size() >= kBufferSize) flush_buffer();
}

void TextFile::raw(std::string_view text) {
    buf_ += text;
    if (buf_.size() >= kBufferSize) flush_buffer();
}

void TextFile::fmt(const Format& f, std::initializer_list<FmtArg> items) {
    f.append(buf_, items.begin(), items.size());
    if (buf_.size() >= kBufferSize) flush_buffer();
}

void TextFile::fmt_items(const Format& f, const FmtArg* items, std::size_t n) {
    f.append(buf_, items, n);
    if (buf_.size() >= kBufferSize) flush_buffer();
}

void TextFile::ld(std::initializer_list<FmtArg> items) {
    append_ld(buf_, items);
    buf_ += '\n';
    if (buf_.size() >= kBufferSize) flush_buffer();
}

void TextFile::close() {
    if (!open_) return;
    flush_buffer();
    out_.close();
    open_ = false;
    if (out_.fail()) stop({" Output error: writing file " + path_ + " failed"});
}

// ---------------------------------------------------------------------------
// RecordReader

RecordReader::RecordReader(const std::string& path) : name_(path) {
    // A directory reads as an empty file, and a device such as /dev/zero as
    // one endless record: neither is an input file.
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(st) && !std::filesystem::is_regular_file(st)) {
        stop({" Input error: cannot read file " + path + ": it is " +
              (std::filesystem::is_directory(st) ? "a directory" : "not a regular file")});
    }
    errno = 0;
    file_ = std::make_unique<std::ifstream>(path);
    if (!file_->is_open()) {
        stop({" Input error: cannot open file " + path + (errno != 0 ? " (" + std::string(std::strerror(errno)) + ")" : "")});
    }
    in_ = file_.get();
}

RecordReader::RecordReader(std::istream& in, std::string name) : in_(&in), name_(std::move(name)) {}

RecordReader::~RecordReader() = default;

bool RecordReader::next_record() {
    // As std::getline, but a record may not grow without bound: a file
    // without line ends would otherwise take all memory.
    rec_.clear();
    pos_ = 0;
    std::streambuf* sb = in_->rdbuf();
    int c = sb->sbumpc();
    if (c == std::char_traits<char>::eof()) {
        in_->setstate(std::ios::eofbit);
        return false;
    }
    ++line_;
    for (; c != std::char_traits<char>::eof() && c != '\n'; c = sb->sbumpc()) {
        if (rec_.size() >= kMaxRecordLength) {
            rec_.clear();
            reject("the line is longer than " + std::to_string(kMaxRecordLength) +
                   " characters, too long for an input record");
        }
        rec_.push_back(static_cast<char>(c));
    }
    if (!rec_.empty() && rec_.back() == '\r') rec_.pop_back();
    return true;
}

void RecordReader::skip() {
    what_ = "a record";
    if (!next_record()) fail("a record", "the end of the file");
    fresh_ = true;
}

bool RecordReader::try_skip() {
    fresh_ = true;
    return next_record();
}

void RecordReader::begin_read(std::string_view what) {
    what_.assign(what.data(), what.size());  // keeps its capacity: no allocation per record
    fresh_ = true;
}

bool RecordReader::next_token(std::string& tok, bool& quoted) {
    tok.clear();
    quoted = false;
    if (fresh_) {
        if (!next_record()) return false;
        fresh_ = false;
    }
    auto sep = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    for (;;) {
        while (pos_ < rec_.size() && sep(rec_[pos_])) ++pos_;
        if (pos_ < rec_.size()) break;
        if (!next_record()) return false;
    }
    const char c = rec_[pos_];
    if (c == '\'' || c == '"') {
        quoted = true;
        ++pos_;
        while (pos_ < rec_.size()) {
            if (rec_[pos_] == c) {
                if (pos_ + 1 < rec_.size() && rec_[pos_ + 1] == c) {
                    tok.push_back(c);
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            tok.push_back(rec_[pos_++]);
        }
        return true;
    }
    while (pos_ < rec_.size() && !sep(rec_[pos_])) tok.push_back(rec_[pos_++]);
    return true;
}

void RecordReader::read_one(int& v, bool soft) {
    std::string tok;
    bool quoted = false;
    if (!next_token(tok, quoted)) {
        if (soft) { eof_hit_ = true; return; }
        fail("an integer", "the end of the file");
    }
    const char* b = tok.c_str();
    char* e = nullptr;
    errno = 0;
    const long long x = std::strtoll(b, &e, 10);
    if (quoted || tok.empty() || *e != '\0' || std::isspace(static_cast<unsigned char>(tok[0]))) {
        fail("an integer", "\"" + tok + "\"");
    }
    if (errno == ERANGE || x < std::numeric_limits<int>::min() || x > std::numeric_limits<int>::max()) {
        fail("an integer of at most 32 bits", "\"" + tok + "\"");
    }
    v = static_cast<int>(x);
}

void RecordReader::read_one(double& v, bool soft) {
    std::string tok;
    bool quoted = false;
    if (!next_token(tok, quoted)) {
        if (soft) { eof_hit_ = true; return; }
        fail("a real number", "the end of the file");
    }
    std::string t = tok;
    for (char& c : t) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    const bool bad_chars = t.find_first_of("xXnNiI") != std::string::npos;
    const char* b = t.c_str();
    char* e = nullptr;
    const double x = std::strtod(b, &e);
    if (quoted || t.empty() || bad_chars || *e != '\0' || std::isspace(static_cast<unsigned char>(t[0]))) {
        fail("a real number", "\"" + tok + "\"");
    }
    if (!std::isfinite(x)) fail("a finite real number", "\"" + tok + "\"");
    v = x;
}

void RecordReader::read_one(std::string& v, bool soft) {
    std::string tok;
    bool quoted = false;
    if (!next_token(tok, quoted)) {
        if (soft) { eof_hit_ = true; return; }
        fail("a character value", "the end of the file");
    }
    v = tok;
}

std::string RecordReader::read_a(std::string_view what, int w) {
    what_.assign(what.data(), what.size());
    if (!next_record()) fail("a record", "the end of the file");
    fresh_ = true;
    return pad_to(rec_, static_cast<std::size_t>(w));
}

void RecordReader::fail(std::string_view expected, std::string_view found) const {
    stop({" Input error in file " + name_ + ", line " + std::to_string(line_) + ":",
          " reading " + what_ + ": expected " + std::string(expected) + ", found " + std::string(found)});
}

void RecordReader::reject(std::string_view message) const {
    stop({" Input error in file " + name_ + ", line " + std::to_string(line_) + ":", " " + std::string(message)});
}

// ---------------------------------------------------------------------------

int last_c_leng(int n, std::string_view s) {
    for (int i = 0; i < n; ++i) {
        const char c = i < static_cast<int>(s.size()) ? s[static_cast<std::size_t>(i)] : ' ';
        if (c == ' ') return i;
    }
    return n;
}

std::string pad_to(std::string_view s, std::size_t n) {
    std::string r(s.substr(0, n));
    r.resize(n, ' ');
    return r;
}

}  // namespace corvan
