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

}  // namespace corvan
