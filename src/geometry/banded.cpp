#include "geometry/banded.hpp"

#include "io/text_io.hpp"

namespace corvan {

void luftr(int n, Array1<double>& a, Array1<double>& b, const Array1<double>& u) {
    for (int i = 2; i <= n; ++i) {
        a(i) = a(i) / b(i - 1);
        b(i) = b(i) - a(i) * u(i - 1);
    }
}

void soltr(int m, int n, const Array1<double>& a, const Array1<double>& b, const Array1<double>& u,
           Array2<double>& x) {
    for (int j = 1; j <= m; ++j) {
        for (int i = 2; i <= n; ++i) x(j, i) = x(j, i) - x(j, i - 1) * a(i);
        x(j, n) = x(j, n) / b(n);
        for (int i = n - 1; i >= 1; --i) x(j, i) = (x(j, i) - x(j, i + 1) * u(i)) / b(i);
    }
}

void lufar(int n, Array1<double>& a, Array1<double>& b, Array1<double>& u, Array1<double>& d,
           Array1<double>& e) {
    if (n < 3) stop({" lufar error, a bordered system needs n >= 3", "(stop)"});
    for (int i = 2; i <= n - 2; ++i) {
        a(i) = a(i) / b(i - 1);
        b(i) = b(i) - a(i) * u(i - 1);
        e(i) = e(i) - e(i - 1) * a(i);
    }
    a(n - 1) = a(n - 1) / b(n - 2);
    b(n - 1) = b(n - 1) - a(n - 1) * u(n - 2);
    u(n - 1) = u(n - 1) - e(n - 2) * a(n - 1);
    d(1) = d(1) / b(1);
    for (int i = 2; i <= n - 2; ++i) d(i) = (d(i) - u(i - 1) * d(i - 1)) / b(i);
    a(n) = (a(n) - u(n - 2) * d(n - 2)) / b(n - 1);
    for (int i = 1; i <= n - 2; ++i) b(n) = b(n) - e(i) * d(i);
    b(n) = b(n) - a(n) * u(n - 1);
}

void solar(int m, int n, const Array1<double>& a, const Array1<double>& b, const Array1<double>& u,
           const Array1<double>& d, const Array1<double>& e, Array2<double>& x) {
    if (n < 3) stop({" solar error, a bordered system needs n >= 3", "(stop)"});
    for (int j = 1; j <= m; ++j) {
        for (int i = 2; i <= n; ++i) x(j, i) = x(j, i) - x(j, i - 1) * a(i);
        for (int k = 1; k <= n - 2; ++k) x(j, n) = x(j, n) - x(j, k) * d(k);
        x(j, n) = x(j, n) / b(n);
        x(j, n - 1) = (x(j, n - 1) - x(j, n) * u(n - 1)) / b(n - 1);
        for (int i = n - 2; i >= 1; --i) x(j, i) = (x(j, i) - x(j, i + 1) * u(i) - x(j, n) * e(i)) / b(i);
    }
}

}  // namespace corvan
