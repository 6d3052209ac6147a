#include "platform/matrix.h"

namespace demo {

D3DMATRIX identityMatrix() { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX c{};
  for (int r = 0; r < 4; ++r)
    for (int col = 0; col < 4; ++col) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a(r, k) * b(k, col);
      c(r, col) = sum;
    }
  return c;
}

}  // namespace demo
