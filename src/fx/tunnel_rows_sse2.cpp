// The tunnel's rays four at a time: each lane runs the portable path's operations in its order,
// with every branch turned into a selection, so the bits are the same.
#include "fx/tunnel_rows.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <cfloat>

namespace demo {

namespace {

inline __m128 select(__m128 mask, __m128 yes, __m128 no) {
  return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

inline __m128 signMaskOf(__m128 v) { return _mm_castsi128_ps(_mm_srai_epi32(_mm_castps_si128(v), 31)); }

// tunnelAtan2 in four lanes.
__m128 atan2Lanes(__m128 y, __m128 x) {
  const __m128 signBit = _mm_set1_ps(-0.0f);
  const __m128 ax = _mm_andnot_ps(signBit, x), ay = _mm_andnot_ps(signBit, y);
  const __m128 steep = _mm_cmpgt_ps(ay, ax);
  const __m128 num = select(steep, ax, ay), den = select(steep, ay, ax);
  const __m128 r = _mm_and_ps(_mm_cmpgt_ps(den, _mm_setzero_ps()), _mm_div_ps(num, den));
  const __m128 upper = _mm_cmpgt_ps(r, _mm_set1_ps(0.414213562f));
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 z0 = select(upper, _mm_div_ps(_mm_sub_ps(r, one), _mm_add_ps(r, one)), r);
  const __m128 z = _mm_mul_ps(z0, z0);
  const __m128 base = _mm_and_ps(upper, _mm_set1_ps(0.785398163f));
  __m128 poly = _mm_sub_ps(_mm_mul_ps(_mm_set1_ps(8.05374449538e-2f), z), _mm_set1_ps(1.38776856032e-1f));
  poly = _mm_add_ps(_mm_mul_ps(poly, z), _mm_set1_ps(1.99777106478e-1f));
  poly = _mm_sub_ps(_mm_mul_ps(poly, z), _mm_set1_ps(3.33329491539e-1f));
  poly = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(poly, z), z0), z0);
  __m128 angle = _mm_add_ps(base, poly);
  angle = select(steep, _mm_sub_ps(_mm_set1_ps(1.57079633f), angle), angle);
  angle = select(signMaskOf(x), _mm_sub_ps(_mm_set1_ps(3.14159265f), angle), angle);
  return _mm_xor_ps(angle, _mm_and_ps(signBit, y));
}

inline __m128 finite(__m128 v) {
  return _mm_cmple_ps(_mm_andnot_ps(_mm_set1_ps(-0.0f), v), _mm_set1_ps(FLT_MAX));
}

}  // namespace

void castRowSse2(const TunnelRow& row, GridVertex* vertices, int32_t first, int32_t groups) {
  const __m128 ex = _mm_set1_ps(row.eye.x), ey = _mm_set1_ps(row.eye.y), ez = _mm_set1_ps(row.eye.z);
  const __m128 k = _mm_set1_ps(row.k);
  // fb·B is the same in every lane, as the portable path computes it.
  const __m128 bx = _mm_set1_ps(row.fb * row.b.x), by = _mm_set1_ps(row.fb * row.b.y),
               bz = _mm_set1_ps(row.fb * row.b.z);
  const __m128 ax = _mm_set1_ps(row.a.x), ay = _mm_set1_ps(row.a.y), az = _mm_set1_ps(row.a.z);
  const __m128 cx = _mm_set1_ps(row.c.x), cy = _mm_set1_ps(row.c.y), cz = _mm_set1_ps(row.c.z);
  const __m128 step = _mm_set1_ps(row.colStep), one = _mm_set1_ps(1.0f), two = _mm_set1_ps(2.0f);
  const __m128 zero = _mm_setzero_ps();
  alignas(16) float u[4], v[4];
  for (int32_t g = 0; g < groups; ++g) {
    const int32_t j0 = first + 4 * g;
    const __m128 fa = _mm_sub_ps(_mm_mul_ps(_mm_cvtepi32_ps(_mm_setr_epi32(j0, j0 + 1, j0 + 2, j0 + 3)), step), one);
    const __m128 dx = _mm_add_ps(_mm_add_ps(_mm_mul_ps(fa, ax), bx), cx);
    const __m128 dy = _mm_add_ps(_mm_add_ps(_mm_mul_ps(fa, ay), by), cy);
    const __m128 dz = _mm_add_ps(_mm_add_ps(_mm_mul_ps(fa, az), bz), cz);
    const __m128 p = _mm_mul_ps(two, _mm_add_ps(_mm_mul_ps(dx, ex), _mm_mul_ps(dy, ey)));
    const __m128 q = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
    const __m128 disc = _mm_sub_ps(_mm_mul_ps(p, p), _mm_mul_ps(q, k));
    __m128 hits = _mm_and_ps(_mm_cmpgt_ps(q, zero),
                             _mm_and_ps(_mm_cmpge_ps(disc, zero), _mm_cmple_ps(disc, _mm_set1_ps(FLT_MAX))));
    const __m128 h = _mm_div_ps(_mm_set1_ps(0.5f), q);
    const __m128 s = _mm_sqrt_ps(_mm_max_ps(disc, zero));
    const __m128 near = _mm_mul_ps(_mm_sub_ps(_mm_xor_ps(p, _mm_set1_ps(-0.0f)), s), h);
    const __m128 far = _mm_mul_ps(_mm_sub_ps(s, p), h);
    const __m128 t = select(_mm_cmplt_ps(near, zero), far, near);
    const __m128 hx = _mm_add_ps(ex, _mm_mul_ps(t, dx));
    const __m128 hy = _mm_add_ps(ey, _mm_mul_ps(t, dy));
    const __m128 hz = _mm_add_ps(ez, _mm_mul_ps(t, dz));
    hits = _mm_and_ps(hits, _mm_and_ps(finite(hx), _mm_and_ps(finite(hy), finite(hz))));
    _mm_store_ps(u, _mm_mul_ps(hz, _mm_set1_ps(TunnelUPerUnit)));
    _mm_store_ps(v, _mm_mul_ps(atan2Lanes(hy, hx), _mm_set1_ps(TunnelVPerRadian)));
    const int hitLanes = _mm_movemask_ps(hits);
    GridVertex* out = vertices + j0;
    for (int lane = 0; lane < 4; ++lane) {
      // A miss keeps its texture coordinates.
      if (!(hitLanes >> lane & 1)) {
        out[lane].colour = 0x00000000u;
        continue;
      }
      out[lane].colour = 0xFFFFFFFFu;
      out[lane].u = u[lane];
      out[lane].v = v[lane];
    }
  }
}

}  // namespace demo

#endif
