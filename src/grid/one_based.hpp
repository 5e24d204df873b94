// Small 1-based containers, so that the numerical code reads like its
// algorithms: vertex k = 1..3, matrix entry (i, j) with i the row, storage
// column by column. Bounds are checked by assert in debug builds.
#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

namespace corvan {

// Fixed vector of N values, indexed 1..N.
template <class T, int N>
struct Vec {
    T v[N]{};

    T& operator()(int i) { assert(i >= 1 && i <= N); return v[i - 1]; }
    const T& operator()(int i) const { assert(i >= 1 && i <= N); return v[i - 1]; }
    T* data() { return v; }
    const T* data() const { return v; }
    static constexpr int size() { return N; }
    bool operator==(const Vec&) const = default;
};

// A point or vector of the plane.
inline Vec<double, 2> vec2(double x, double y) {
    Vec<double, 2> v;
    v(1) = x;
    v(2) = y;
    return v;
}

// Non-owning column-major view of an R x C block (leading dimension ld),
// used to hand fixed and dynamic matrices to the same solvers.
struct MatView {
    double* p;
    int ld;
    double& operator()(int i, int j) const { return p[(j - 1) * ld + (i - 1)]; }
};

// Fixed R x C matrix, indexed (1..R, 1..C), stored column by column.
template <class T, int R, int C>
struct Mat {
    T v[R * C]{};

    T& operator()(int i, int j) {
        assert(i >= 1 && i <= R && j >= 1 && j <= C);
        return v[(j - 1) * R + (i - 1)];
    }
    const T& operator()(int i, int j) const {
        assert(i >= 1 && i <= R && j >= 1 && j <= C);
        return v[(j - 1) * R + (i - 1)];
    }
    T* data() { return v; }
    const T* data() const { return v; }
    static constexpr int rows() { return R; }
    static constexpr int cols() { return C; }
    bool operator==(const Mat&) const = default;

    static Mat identity() {
        Mat m;
        for (int k = 1; k <= (R < C ? R : C); ++k) m(k, k) = T(1);
        return m;
    }
};

// Growable vector indexed 1..n.
template <class T>
class Array1 {
public:
    Array1() = default;
    explicit Array1(int n, const T& init = T()) : v_(static_cast<std::size_t>(n > 0 ? n : 0), init) {}

    void assign(int n, const T& init = T()) { v_.assign(static_cast<std::size_t>(n > 0 ? n : 0), init); }
    T& operator()(int i) { assert(i >= 1 && i <= size()); return v_[static_cast<std::size_t>(i - 1)]; }
    const T& operator()(int i) const { assert(i >= 1 && i <= size()); return v_[static_cast<std::size_t>(i - 1)]; }
    int size() const { return static_cast<int>(v_.size()); }
    bool empty() const { return v_.empty(); }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    void clear() { v_.clear(); v_.shrink_to_fit(); }
    // Appends a value as entry size() + 1; keeps room for n entries.
    void push_back(const T& x) { v_.push_back(x); }
    void reserve(int n) { v_.reserve(static_cast<std::size_t>(n > 0 ? n : 0)); }

private:
    std::vector<T> v_;
};

// Dynamic rows x cols matrix indexed (1..rows, 1..cols), column by column.
template <class T>
class Array2 {
public:
    Array2() = default;
    Array2(int rows, int cols, const T& init = T()) { assign(rows, cols, init); }

    void assign(int rows, int cols, const T& init = T()) {
        rows_ = rows > 0 ? rows : 0;
        cols_ = cols > 0 ? cols : 0;
        v_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), init);
    }
    T& operator()(int i, int j) {
        assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
        return v_[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(rows_) + static_cast<std::size_t>(i - 1)];
    }
    const T& operator()(int i, int j) const {
        assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
        return v_[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(rows_) + static_cast<std::size_t>(i - 1)];
    }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    // Pointer to column j (its entry (1, j)).
    T* col(int j) { return v_.data() + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(rows_); }
    void clear() { v_.clear(); v_.shrink_to_fit(); rows_ = cols_ = 0; }

private:
    int rows_ = 0, cols_ = 0;
    std::vector<T> v_;
};

template <int R, int C>
inline MatView view(Mat<double, R, C>& m) { return MatView{m.data(), R}; }
inline MatView view(Array2<double>& m) { return MatView{m.data(), m.rows()}; }

}  // namespace corvan
