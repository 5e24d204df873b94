// Text input and output of corvan: the fatal stop, fixed-format records,
// list-directed message records and the free-form record reader.
//
// List-directed output convention (every message record of the program):
//   - a record starts with one blank; a record without items (a blank
//     record) is an empty line;
//   - a character item is written as it stands, preceded by one blank when
//     it follows a number;
//   - an integer item is right-aligned in 12 columns (I12);
//   - a real item is written as %23.15E, right-aligned in 23 columns
//     (for example "  1.000000000000000E-12").
// So " Stitch points   = " followed by 3 reads " Stitch points   =            3".
//
// Free-form input convention (every input file of the program):
//   - a read starts at the next record; values are separated by blanks,
//     tabs or commas (a run of separators is one separator);
//   - a read that finds too few values on its record continues on the
//     following records; values left on the last record used are ignored;
//   - a skip consumes exactly one record, whatever it holds;
//   - integers must fit 32 bits; reals accept E or D exponents and must be
//     finite; a character value is quoted ('...' or "...", a doubled quote
//     stands for one) or unquoted (up to the next separator);
//   - any failure ends the run with one diagnostic naming the file, the line,
//     what was expected and what was found.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// ---------------------------------------------------------------------------
// Fatal stop: prints the lines on standard output as message records (one
// leading blank, added when a line does not start with one), flushes it and
// ends the program with exit status 1. Every stop of the program goes
// through here.
[[noreturn]] void stop(std::initializer_list<std::string_view> lines);
[[noreturn]] void stop(const std::vector<std::string>& lines);

#ifdef CORVAN_FUZZ_HOOKS
// Fuzz builds only (fuzz/CMakeLists.txt defines the macro): after its
// message, stop calls the hook instead of ending the program, so that the
// harness can go on with its next input. The hook must not return (it
// throws); if it does, stop ends the program as always.
void set_stop_hook(void (*hook)());
#endif

// ---------------------------------------------------------------------------
// One item of a formatted or list-directed record.
struct FmtArg {
    enum Kind { Int, Real, Str } kind;
    long long i = 0;
    double r = 0.0;
    std::string_view s;

    FmtArg(int v) : kind(Int), i(v) {}
    FmtArg(long v) : kind(Int), i(v) {}
    FmtArg(long long v) : kind(Int), i(v) {}
    FmtArg(unsigned v) : kind(Int), i(v) {}
    FmtArg(double v) : kind(Real), r(v) {}
    FmtArg(float v) : kind(Real), r(v) {}
    FmtArg(const char* v) : kind(Str), s(v) {}
    FmtArg(std::string_view v) : kind(Str), s(v) {}
    FmtArg(const std::string& v) : kind(Str), s(v) {}
};

// Single edit descriptors, usable on their own.
std::string fmt_i(long long v, int w);              // Iw
std::string fmt_f(double v, int w, int d);          // Fw.d
std::string fmt_e(double v, int w, int d);          // Ew.d, mantissa form 0.ddd..E+xx
std::string fmt_a(std::string_view s, int w = -1);  // A or Aw
// The fields above come from std::to_chars digits; these forms take printf's
// (the path for digit counts the fast one does not cover). Both must give the
// same bytes.
std::string fmt_i_general(long long v, int w);
std::string fmt_f_general(double v, int w, int d);
std::string fmt_e_general(double v, int w, int d);
// A real item of a list-directed record (%23.15E), and its printf form.
std::string ld_real(double v);
std::string ld_real_general(double v);

// A parsed fixed format such as "(2e15.7,i8)" or "(a9,i2,a11,i4)".
// Supports Iw, Fw.d, Ew.d, A, Aw, nX, quoted literals, '/', repeat counts
// and nested groups. Output stops at the first data descriptor that has no
// item left; when the items outlast the format, a new record starts from the
// last top-level group (or from the beginning). A field too narrow for its
// value is filled with asterisks. Blanks of an nX are written only when
// something follows them on the record.
class Format {
public:
    explicit Format(std::string_view text);
    Format(const Format&) = delete;
    Format& operator=(const Format&) = delete;

    // The records produced by the items, each ended by '\n'.
    std::string apply(std::initializer_list<FmtArg> items) const;
    std::string apply(const std::vector<FmtArg>& items) const;
    // Appends the records to out (no allocation when out has capacity).
    void append(std::string& out, const FmtArg* items, std::size_t n) const;

    // One node of the parsed format: an edit descriptor or a group.
    struct Item {
        char kind = 0;        // 'I', 'F', 'E', 'A', 'X', '\'' (literal), '/', '(' (group)
        int repeat = 1;       // repeat count (X: number of blanks)
        int w = -1, d = -1;   // width and digits; w = -1 for a bare A
        std::string text;     // literal text
        std::vector<Item> sub;  // group members
    };

private:
    // Runs the items of `list` once; false when the items ran out.
    bool run(const std::vector<Item>& list, std::string& out, std::string& rec, int& pending,
             const FmtArg* a, std::size_t n, std::size_t& k) const;
    std::vector<Item> items_;
    int reversion_ = -1;  // top-level group where reversion restarts; -1: whole format
    // A format of data descriptors only, such as "(5i7)" or "(2e15.7,i8)":
    // its descriptors with repeats spelled out, written straight into the
    // output; empty for any other format.
    std::vector<Item> flat_;
};

// A list-directed record (without the newline), per the convention above.
std::string ld_record(std::initializer_list<FmtArg> items);
// Writes a list-directed record to standard output.
void say(std::initializer_list<FmtArg> items);
// Writes a line to standard output exactly as given (no leading blank).
void say_line(std::string_view text);
// Hands what standard output holds to the user now: at the end of a stage's
// messages and of each front step, so a long run shows its progress (not
// per line: standard output is buffered for speed).
void flush_output();
// Writes a line to standard error exactly as given (usage errors).
void warn_line(std::string_view text);
// Writes formatted records to standard output.
void say_fmt(const Format& f, std::initializer_list<FmtArg> items);

// ---------------------------------------------------------------------------
// An output text file. Opening failure and write errors (a full disk, say)
// end the run with a message naming the file, so a lost file can never pass
// for success.
class TextFile {
public:
    explicit TextFile(const std::string& path);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    void line(std::string_view text);  // text then '\n'
    void fmt(const Format& f, std::initializer_list<FmtArg> items);
    void fmt_items(const Format& f, const FmtArg* items, std::size_t n);
    void ld(std::initializer_list<FmtArg> items);  // list-directed record
    void raw(std::string_view text);               // text as it stands
    void close();
    const std::string& path() const { return path_; }

private:
    // The text is passed on to the file in pieces of about this size.
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    void flush_buffer();
    std::string path_;
    std::ofstream out_;
    std::string buf_;
    bool open_ = false;
};

// ---------------------------------------------------------------------------
// Free-form record reader over a file or a stream.
class RecordReader {
public:
    // Longest record read; a longer one ends the run with a diagnostic.
    static constexpr std::size_t kMaxRecordLength = std::size_t{1} << 20;

    // Opens the file; a missing or unreadable file, or one that is not a
    // regular file (a directory, a device), ends the run with a diagnostic
    // naming it.
    explicit RecordReader(const std::string& path);
    // Reads from a stream the caller owns (standard input, tests).
    RecordReader(std::istream& in, std::string name);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Consumes one record; the end of the file is fatal.
    void skip();
    // Consumes one record; false at the end of the file.
    bool try_skip();

    // Reads the values into the variables (int, double or std::string).
    // `what` names the values in diagnostics ("n_vert, n_edge").
    template <class... T>
    void read(std::string_view what, T&... v) {
        begin_read(what);
        (read_one(v, false), ...);
    }
    // As read, but false (and nothing fatal) when the file ends first.
    template <class... T>
    bool try_read(std::string_view what, T&... v) {
        begin_read(what);
        eof_hit_ = false;
        ((eof_hit_ ? void() : read_one(v, true)), ...);
        return !eof_hit_;
    }

    // The fixed "(aw)" read: the first w characters of the next record,
    // padded with blanks to w.
    std::string read_a(std::string_view what, int w);

    // Ends the run with a diagnostic about the record read last.
    [[noreturn]] void reject(std::string_view message) const;

    const std::string& name() const { return name_; }
    int line() const { return line_; }

private:
    bool next_record();  // false at end of file
    void begin_read(std::string_view what);
    bool next_token(std::string& tok, bool& quoted);  // false at end of file
    void read_one(int& v, bool soft);
    void read_one(double& v, bool soft);
    void read_one(std::string& v, bool soft);
    [[noreturn]] void fail(std::string_view expected, std::string_view found) const;

    std::unique_ptr<std::ifstream> file_;
    std::istream* in_;
    std::string name_;
    std::string rec_;
    std::size_t pos_ = 0;
    int line_ = 0;
    bool fresh_ = true;  // the next value starts a new record
    bool eof_hit_ = false;
    std::string what_;
};

// Number of characters of s (of declared length n) before its first blank:
// n when s holds no blank. Characters past the end of s count as blanks.
int last_c_leng(int n, std::string_view s);

// s padded with blanks (or cut) to exactly n characters.
std::string pad_to(std::string_view s, std::size_t n);

}  // namespace corvan
