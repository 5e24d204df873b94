#include "geometry/linsys.hpp"

#include <cmath>
#include <utility>

namespace corvan {

void lufact(int n, int* ipvt1, MatView a, double& det) {
    auto ipvt = [ipvt1](int k) -> int& { return ipvt1[k - 1]; };
    det = 1.0;
    ipvt(n) = 1;
    for (int k = 1; k <= n - 1; ++k) {
        int l = k;
        for (int i = k + 1; i <= n; ++i) {
            if (std::fabs(a(i, k)) > std::fabs(a(l, k))) l = i;
        }
        ipvt(k) = l;
        if (l != k) ipvt(n) = -ipvt(n);
        std::swap(a(l, k), a(k, k));
        const double t = a(k, k);
        det = det * t;
        if (t == 0.0) continue;
        for (int i = k + 1; i <= n; ++i) a(i, k) = -a(i, k) / t;
        for (int j = k + 1; j <= n; ++j) {
            std::swap(a(l, j), a(k, j));
            const double s = a(k, j);
            if (s == 0.0) continue;
            for (int i = k + 1; i <= n; ++i) a(i, j) = a(i, j) + s * a(i, k);
        }
    }
    det = det * a(n, n) * ipvt(n);
}

void lusolv(int n, const int* ipvt1, MatView a, double* r1) {
    auto r = [r1](int k) -> double& { return r1[k - 1]; };
    for (int k = 1; k <= n - 1; ++k) {
        const int l = ipvt1[k - 1];
        std::swap(r(l), r(k));
        const double t = r(k);
        for (int i = k + 1; i <= n; ++i) r(i) = r(i) + t * a(i, k);
    }
    for (int k = n; k >= 2; --k) {
        r(k) = r(k) / a(k, k);
        const double t = -r(k);
        for (int i = 1; i <= k - 1; ++i) r(i) = r(i) + t * a(i, k);
    }
    r(1) = r(1) / a(1, 1);
}

// The fixed sizes follow the general loops step by step; the comments name
// the general loop each block unrolls.

void lufact(Mat<double, 1, 1>& a, Vec<int, 1>& ipvt, double& det) {
    det = 1.0;
    ipvt(1) = 1;
    det = det * a(1, 1) * ipvt(1);
}

void lufact(Mat<double, 2, 2>& a, Vec<int, 2>& ipvt, double& det) {
    det = 1.0;
    int sign = 1;
    // k = 1
    const int l = std::fabs(a(2, 1)) > std::fabs(a(1, 1)) ? 2 : 1;
    ipvt(1) = l;
    if (l != 1) sign = -sign;
    std::swap(a(l, 1), a(1, 1));
    const double t = a(1, 1);
    det = det * t;
    if (t != 0.0) {
        a(2, 1) = -a(2, 1) / t;
        std::swap(a(l, 2), a(1, 2));
        const double s = a(1, 2);
        if (s != 0.0) a(2, 2) = a(2, 2) + s * a(2, 1);
    }
    ipvt(2) = sign;
    det = det * a(2, 2) * ipvt(2);
}

void lufact(Mat<double, 3, 3>& a, Vec<int, 3>& ipvt, double& det) {
    det = 1.0;
    int sign = 1;
    {  // k = 1
        int l = 1;
        if (std::fabs(a(2, 1)) > std::fabs(a(l, 1))) l = 2;
        if (std::fabs(a(3, 1)) > std::fabs(a(l, 1))) l = 3;
        ipvt(1) = l;
        if (l != 1) sign = -sign;
        std::swap(a(l, 1), a(1, 1));
        const double t = a(1, 1);
        det = det * t;
        if (t != 0.0) {
            a(2, 1) = -a(2, 1) / t;
            a(3, 1) = -a(3, 1) / t;
            for (int j = 2; j <= 3; ++j) {
                std::swap(a(l, j), a(1, j));
                const double s = a(1, j);
                if (s == 0.0) continue;
                a(2, j) = a(2, j) + s * a(2, 1);
                a(3, j) = a(3, j) + s * a(3, 1);
            }
        }
    }
    {  // k = 2
        const int l = std::fabs(a(3, 2)) > std::fabs(a(2, 2)) ? 3 : 2;
        ipvt(2) = l;
        if (l != 2) sign = -sign;
        std::swap(a(l, 2), a(2, 2));
        const double t = a(2, 2);
        det = det * t;
        if (t != 0.0) {
            a(3, 2) = -a(3, 2) / t;
            std::swap(a(l, 3), a(2, 3));
            const double s = a(2, 3);
            if (s != 0.0) a(3, 3) = a(3, 3) + s * a(3, 2);
        }
    }
    ipvt(3) = sign;
    det = det * a(3, 3) * ipvt(3);
}

void lusolv(const Mat<double, 1, 1>& a, const Vec<int, 1>& /*ipvt*/, double* r) { r[0] = r[0] / a(1, 1); }

void lusolv(const Mat<double, 2, 2>& a, const Vec<int, 2>& ipvt, double* r) {
    // Forward: k = 1.
    std::swap(r[ipvt(1) - 1], r[0]);
    r[1] = r[1] + r[0] * a(2, 1);
    // Backward: k = 2, then the first unknown.
    r[1] = r[1] / a(2, 2);
    r[0] = r[0] + -r[1] * a(1, 2);
    r[0] = r[0] / a(1, 1);
}

void lusolv(const Mat<double, 3, 3>& a, const Vec<int, 3>& ipvt, double* r) {
    // Forward: k = 1, 2.
    std::swap(r[ipvt(1) - 1], r[0]);
    r[1] = r[1] + r[0] * a(2, 1);
    r[2] = r[2] + r[0] * a(3, 1);
    std::swap(r[ipvt(2) - 1], r[1]);
    r[2] = r[2] + r[1] * a(3, 2);
    // Backward: k = 3, 2, then the first unknown.
    r[2] = r[2] / a(3, 3);
    r[0] = r[0] + -r[2] * a(1, 3);
    r[1] = r[1] + -r[2] * a(2, 3);
    r[1] = r[1] / a(2, 2);
    r[0] = r[0] + -r[1] * a(1, 2);
    r[0] = r[0] / a(1, 1);
}

}  // namespace corvan
