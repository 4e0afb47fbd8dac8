#include "tests/solver/crout_reference.h"

namespace lumetra::testing {

CroutResult CroutSolve(std::vector<std::vector<Complex>> a, std::vector<Complex> b) {
  const int n = static_cast<int>(a.size());
  // 1-based views: A(i, j) and B(i).
  const auto A = [&](int i, int j) -> Complex& { return a[i - 1][j - 1]; };
  const auto B = [&](int i) -> Complex& { return b[i - 1]; };
  std::vector<double> scale(n + 1);
  std::vector<int> pivot(n + 1);
  CroutResult result;

  for (int i = 1; i <= n; ++i) {
    double big = 0.0;
    for (int j = 1; j <= n; ++j)
      if (CAbs(A(i, j)) > big) big = CAbs(A(i, j));
    if (big == 0.0) return result;
    scale[i] = 1.0 / big;
  }
  for (int j = 1; j <= n; ++j) {
    for (int i = 1; i < j; ++i) {
      Complex sum = A(i, j);
      for (int k = 1; k < i; ++k) sum = CSub(sum, CMul(A(i, k), A(k, j)));
      A(i, j) = sum;
    }
    double big = 0.0;
    int imax = 0;
    for (int i = j; i <= n; ++i) {
      Complex sum = A(i, j);
      for (int k = 1; k < j; ++k) sum = CSub(sum, CMul(A(i, k), A(k, j)));
      A(i, j) = sum;
      const double dum = scale[i] * CAbs(sum);
      if (dum > big) {
        big = dum;
        imax = i;
      }
    }
    if (imax == 0) return result;
    if (imax != j) {
      std::swap(a[imax - 1], a[j - 1]);
      scale[imax] = scale[j];
    }
    pivot[j] = imax;
    if (j < n) {
      const Complex dum = CDiv({1, 0}, A(j, j));
      for (int i = j + 1; i <= n; ++i) A(i, j) = CMul(A(i, j), dum);
    }
  }
  int first = 0;
  for (int i = 1; i <= n; ++i) {
    const int ip = pivot[i];
    Complex sum = B(ip);
    B(ip) = B(i);
    if (first != 0) {
      for (int k = first; k < i; ++k) sum = CSub(sum, CMul(A(i, k), B(k)));
    } else if (CAbs(sum) != 0.0) {
      first = i;
    }
    B(i) = sum;
  }
  for (int i = n; i >= 1; --i) {
    Complex sum = B(i);
    for (int k = i + 1; k <= n; ++k) sum = CSub(sum, CMul(A(i, k), B(k)));
    B(i) = CDiv(sum, A(i, i));
  }
  result.Solved = true;
  result.X = b;
  for (int j = 1; j <= n; ++j) result.Pivots.push_back(pivot[j] - 1);
  return result;
}

}  // namespace lumetra::testing
