#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "io/text_io.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

TEST(Formatter, ExponentFormAsInTheGeometryFile) {
    EXPECT_EQ(fmt_e(1.0, 15, 7), "  0.1000000E+01");
    EXPECT_EQ(fmt_e(-2.5, 15, 7), " -0.2500000E+01");
    EXPECT_EQ(fmt_e(0.0, 15, 7), "  0.0000000E+00");
    EXPECT_EQ(fmt_e(0.5, 18, 9), "   0.500000000E+00");
    EXPECT_EQ(fmt_e(-2.0, 18, 9), "  -0.200000000E+01");
    EXPECT_EQ(fmt_e(123456789.0, 15, 7), "  0.1234568E+09");
    EXPECT_EQ(fmt_e(9.99999999, 15, 7), "  0.1000000E+02");  // rounding carries into the exponent
    EXPECT_EQ(fmt_e(1e-5, 12, 5), " 0.10000E-04");
    // A three-digit exponent drops the letter E.
    EXPECT_EQ(fmt_e(1e100, 15, 7), "  0.1000000+101");
    EXPECT_EQ(fmt_e(1.0, 5, 7), "*****");
}

TEST(Formatter, FixedIntegerAndCharacterFields) {
    EXPECT_EQ(fmt_f(0.1234567890123, 20, 10), "        0.1234567890");
    EXPECT_EQ(fmt_f(-2.0, 20, 10), "       -2.0000000000");
    EXPECT_EQ(fmt_f(2.91, 5, 2), " 2.91");
    EXPECT_EQ(fmt_f(100.0, 5, 2), "*****");
    EXPECT_EQ(fmt_f(0.5, 3, 2), ".50");
    EXPECT_EQ(fmt_i(42, 7), "     42");
    EXPECT_EQ(fmt_i(-42, 7), "    -42");
    EXPECT_EQ(fmt_i(12345678, 7), "*******");
    EXPECT_EQ(fmt_i(25, 4), "  25");
    EXPECT_EQ(fmt_a("abc", 5), "  abc");
    EXPECT_EQ(fmt_a("abcdefgh", 5), "abcde");
    EXPECT_EQ(fmt_a("abc"), "abc");
}

TEST(Formatter, FormatsWithGroupsLiteralsAndReversion) {
    EXPECT_EQ(Format("(2e15.7,i8)").apply({0.5, -2.0, 7}), "  0.5000000E+00 -0.2000000E+01       7\n");
    EXPECT_EQ(Format("(a9,i2,a11,i4)").apply({" Segment ", 2, "; points = ", 25}),
              " Segment  2; points =   25\n");
    EXPECT_EQ(Format("(3(1x,a7), 5x, a10)").apply({"STEP", "NFRO", "NADD", "MAX_LENGTH"}),
              "    STEP    NFRO    NADD     MAX_LENGTH\n");
    EXPECT_EQ(Format("(3i8, 5x, f10.2)").apply({1, 0, 0, 0.0}), "       1       0       0           0.00\n");
    // Output stops at the first data descriptor without an item, and the
    // blanks of a trailing nX are not written.
    EXPECT_EQ(Format("(3e18.9)").apply({1.0, 2.0}), "   0.100000000E+01   0.200000000E+01\n");
    EXPECT_EQ(Format("(14x,a1,6(12x,a2,i1))").apply({"S", " X", 1, " X", 2, "XS", 1, "XS", 2}),
              "              S             X1             X2            XS1            XS2\n");
    EXPECT_EQ(Format("(4x,a6)").apply({"N_CURV"}), "    N_CURV\n");
    EXPECT_EQ(Format("(2(8x,a2))").apply({"ND", "NS"}), "        ND        NS\n");
    EXPECT_EQ(Format("('*** not accepted',1x,i8,1x,a2,1x,f5.2,1x,a1)").apply({12, "->", 2.91, "%"}),
              "*** not accepted       12 ->  2.91 %\n");
    EXPECT_EQ(Format("('*** not accepted',1x,i8,1x,a2,1x,f5.2,1x,a1)").apply({5, "->", 100.0, "%"}),
              "*** not accepted        5 -> ***** %\n");
    EXPECT_EQ(Format("('#    NAME:      ',a15,'  #')").apply({"duct"}), "#    NAME:                 duct  #\n");
    // More items than descriptors: new records from the last group, or from the start.
    EXPECT_EQ(Format("(2i3)").apply({1, 2, 3, 4, 5}), "  1  2\n  3  4\n  5\n");
    EXPECT_EQ(Format("(a2,2(i2))").apply({"x:", 1, 2, 3}), "x: 1 2\n 3\n");
    EXPECT_EQ(Format("(i5,e12.5)").apply({3, 1.5e-7}), "    3 0.15000E-06\n");
    EXPECT_EQ(Format("(a30,e12.5)").apply({"simplex_center warning, det = ", 1e-13}),
              "simplex_center warning, det =  0.10000E-12\n");
    EXPECT_EQ(Format("( i12)").apply({2}), "           2\n");
}

TEST(Formatter, ListDirectedConvention) {
    EXPECT_EQ(ld_record({"Stitch points   = ", 3}), " Stitch points   =            3");
    EXPECT_EQ(ld_record({"tolerance", 1e-12}), " tolerance  1.000000000000000E-12");
    EXPECT_EQ(ld_record({"Front end."}), " Front end.");
    EXPECT_EQ(ld_record({}), "");
    EXPECT_EQ(ld_record({"edge", 1, "and", 2}), " edge           1 and           2");
}

// The to_chars fields against their printf forms, byte for byte: random
// magnitudes over the whole double range, decimal halfway cases (ties to
// even), zeros of both signs, powers of ten, values rounding into the next
// decade, and widths from too narrow to roomy.
TEST(Formatter, FastFieldsMatchPrintfFields) {
    corvan::test::Xorshift64 draw{0x9e3779b97f4a7c15ull};
    std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 0.125, 0.375, 2.5, 1.5, -2.5, 0.0625, 1e-5, 9.99999999,
                                  9.9999999e-10, 0.99999995, 1e100, 1e-100, 1e300, -1e-300, 5e-324,
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::min(), 123456789.0,
                                  1e16, 1e17, 1e22, -0.001, 0.0005, 0.0015};
    for (int k = -12; k <= 12; ++k) {
        values.push_back(std::pow(10.0, k));
        values.push_back(std::ldexp(3.0, k) / 8.0);  // short binary fractions: exact decimal ties
    }
    for (int k = 0; k < 3000; ++k) {
        const std::uint64_t b = draw();
        const double m = static_cast<double>(b >> 11) * 0x1p-53;
        const double v = std::ldexp(m, static_cast<int>(draw() % 2100) - 1060);
        values.push_back(b & 1 ? -v : v);
        values.push_back(static_cast<double>(static_cast<std::int64_t>(draw() % 2000001) - 1000000) / 1000.0);
    }
    for (const double v : values) {
        ASSERT_EQ(ld_real(v), ld_real_general(v)) << v;
        for (const auto& [w, d] : {std::pair{15, 7}, {18, 9}, {12, 5}, {23, 15}, {8, 7}, {5, 7}, {30, 17}, {6, 1}}) {
            ASSERT_EQ(fmt_e(v, w, d), fmt_e_general(v, w, d)) << v << " E" << w << "." << d;
        }
        for (const auto& [w, d] : {std::pair{5, 2}, {15, 2}, {3, 2}, {20, 10}, {9, 0}, {4, 3}, {40, 17}}) {
            ASSERT_EQ(fmt_f(v, w, d), fmt_f_general(v, w, d)) << v << " F" << w << "." << d;
        }
        const long long i = static_cast<long long>(std::fmod(v, 1e18));
        for (const int w : {7, 8, 12, 3}) ASSERT_EQ(fmt_i(i, w), fmt_i_general(i, w)) << i;
    }
    ASSERT_EQ(fmt_i(std::numeric_limits<long long>::min(), 20), fmt_i_general(std::numeric_limits<long long>::min(), 20));
}

TEST(LastCLeng, StopsAtFirstBlank) {
    EXPECT_EQ(last_c_leng(64, "./"), 2);
    EXPECT_EQ(last_c_leng(64, pad_to("./", 64)), 2);
    EXPECT_EQ(last_c_leng(64, std::string(64, 'a')), 64);
    EXPECT_EQ(last_c_leng(64, " duct"), 0);
    EXPECT_EQ(last_c_leng(64, "two words"), 3);
}

TEST(Reader, ListDirectedRecordsContinueAndIgnoreLeftovers) {
    std::istringstream in(
        "title line\n"
        "  3, 4.5  extra 99\n"
        "7\n"
        "8.25\n"
        "'quoted value' 12\n"
        "unquoted, 1d-3\n"
        "  data       tail of the command\n"
        "last\n");
    RecordReader r(in, "sample");
    r.skip();
    int i = 0;
    double x = 0;
    r.read("i, x", i, x);  // extra values on the record are ignored
    EXPECT_EQ(i, 3);
    EXPECT_EQ(x, 4.5);
    int j = 0;
    double y = 0;
    r.read("j, y", j, y);  // short record: continues on the next one
    EXPECT_EQ(j, 7);
    EXPECT_EQ(y, 8.25);
    EXPECT_EQ(r.line(), 4);
    std::string s;
    r.read("name", s);
    EXPECT_EQ(s, "quoted value");
    std::string t;
    double z = 0;
    r.read("t, z", t, z);
    EXPECT_EQ(t, "unquoted");
    EXPECT_EQ(z, 1e-3);
    EXPECT_EQ(r.read_a("command", 20), "  data       tail of");
    EXPECT_TRUE(r.try_skip());
    EXPECT_FALSE(r.try_skip());
    int k = 0;
    EXPECT_FALSE(r.try_read("k", k));
}

TEST(Reader, QuotesInsideQuotedValuesAndBlankRecords) {
    std::istringstream in("'it''s'\n\n\n  5\n");
    RecordReader r(in, "q");
    std::string s;
    r.read("s", s);
    EXPECT_EQ(s, "it's");
    int n = 0;
    r.read("n", n);  // blank records are passed over by a read
    EXPECT_EQ(n, 5);
}

// Reads two integers, or two reals when `reals`, from the text; a skip first
// when `skip_first`.
void read_two(const std::string& text, const std::string& name, bool reals, bool skip_first) {
    std::istringstream in(text);
    RecordReader r(in, name);
    if (skip_first) r.skip();
    if (reals) {
        double a = 0, b = 0;
        r.read("x, y", a, b);
    } else {
        int a = 0, b = 0;
        r.read("n_vert, n_edge", a, b);
    }
}

TEST(ReaderDeathTest, DiagnosticsNameFileLineExpectedAndFound) {
    EXPECT_STOP(read_two("skip\n 3 abc\n", "boundary.duct", false, true),
                "Input error in file boundary.duct, line 2:\n reading n_vert, n_edge: expected an integer, found \"abc\"");
    EXPECT_STOP(read_two("1\n", "domain.x", false, false),
                "domain.x, line 1:\n reading n_vert, n_edge: expected an integer, found the end of the file");
    EXPECT_STOP(read_two("", "f", false, true), "expected a record, found the end of the file");
    EXPECT_STOP(read_two("1.5 nan\n", "f", true, false), "expected a real number, found \"nan\"");
    EXPECT_STOP(read_two("1e999 1\n", "f", true, false), "expected a finite real number, found \"1e999\"");
    EXPECT_STOP(read_two("99999999999 1\n", "f", false, false), "expected an integer of at most 32 bits");
    EXPECT_STOP(read_two("2.5 1\n", "f", false, false), "expected an integer, found \"2.5\"");
    EXPECT_STOP(RecordReader r("/nonexistent/dir/boundary.none"),
                "Input error: cannot open file /nonexistent/dir/boundary.none");
    // Neither a directory nor an endless record may pass for input.
    EXPECT_STOP(RecordReader r("/tmp"), "Input error: cannot read file /tmp: it is a directory");
    EXPECT_STOP(RecordReader r("/dev/zero"), "cannot read file /dev/zero: it is not a regular file");
    EXPECT_STOP(read_two("1 2\n" + std::string(RecordReader::kMaxRecordLength + 1, '7'), "f", false, true),
                "f, line 2:\n the line is longer than 1048576 characters");
}

TEST(TextFileDeathTest, UnwritableFileStops) {
    EXPECT_STOP(TextFile f("/nonexistent/dir/grid.x"), "Output error: cannot open file /nonexistent/dir/grid.x");
}

TEST(TextFile, WritesLinesFormatsAndRecords) {
    test::TempDir dir;
    {
        TextFile f(dir.file("out.txt"));
        f.line("# head");
        f.fmt(Format("(2i7)"), {1, 2});
        f.ld({"count", 5});
    }
    EXPECT_EQ(test::read_file(dir.file("out.txt")), "# head\n      1      2\n count           5\n");
}

TEST(StopDeathTest, PrintsLinesAndExitsNonZero) {
    EXPECT_STOP(stop({"first line", "(stop)"}), " first line\n \\(stop\\)\n");
}

}  // namespace
}  // namespace corvan
