// An independent, plain transcription of the walk's rules: heights evaluated
// every time they are named, no cached terms, its own generator. The model's
// optimised walk must give the same samples to the last bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

struct RefHill {
  double mx, my, sx, sy, r, w, rel;
};

struct RefChain {
  double x, y, z, px, py, pz;
  std::vector<std::int32_t> xs, ys;
  std::vector<float> zs;
};

class ReferenceWalk {
 public:
  int nchains = 1;
  double width = 400, height = 400, mean = 20, sd = 20;
  bool ignore = true, rotation = false, refuse = false;
  std::vector<RefHill> hills;
  std::int32_t state = 1;
  RefChain c[4]{};

  double uniform() {
    state = static_cast<std::int32_t>((16807LL * state) % 2147483647LL);
    return state * 4.6566128575e-10;
  }
  double expo() {
    for (double a = 0;; a += 1) {
      double u1 = uniform(), prev = uniform();
      if (u1 < prev) return a + u1;
      for (int k = 3;; ++k) {
        double u = uniform();
        if (k % 2 && u >= prev) break;
        if (!(k % 2) && u > prev) return a + u1;
        prev = u;
      }
    }
  }
  double gamma(double a) {
    if (a == 1) return expo();
    if (a < 1) {
      double e = math::exp(1.0), b = (e + a) / e;
      for (;;) {
        double p = b * uniform();
        if (p <= 1) {
          double x = math::pow(p, 1 / a);
          if (-math::log(uniform()) >= x) return x;
        } else {
          double x = -math::log((b - p) / a);
          if (uniform() <= math::pow(x, a - 1)) return x;
        }
      }
    }
    double c1 = a - 1, c2 = (a - 1 / (6 * a)) / c1, c3 = 2 / c1, c4 = c3 + 2, c5 = 1 / std::sqrt(a);
    for (;;) {
      double u1 = uniform(), u2 = uniform();
      if (a > 2.5) {
        u1 = u2 + c5 * (1 - 1.86 * u1);
        if (u1 <= 0 || u1 >= 1) continue;
      }
      double w = c2 * u2 / u1;
      if (c3 * u1 + w + 1 / w < c4) return c1 * w;
      if (c3 * math::log(u1) - math::log(w) + w < 1) return c1 * w;
    }
  }
  double beta(int i) const {
    if (nchains < 2) return 1;
    double step = 3.0 / (nchains - 1);
    return 1 / ((i - 1) * step * 2.0 + 1);
  }
  double height_at(int i, double x, double y) const {
    if (hills.empty()) return 1.0;
    double sum = 0;
    for (const RefHill& h : hills) {
      double dx = x - h.mx, dy = y - h.my;
      double q =
          dx * dx / (h.sx * h.sx) - 2 * h.r * dx * dy / (h.sx * h.sy) + dy * dy / (h.sy * h.sy);
      sum += h.rel * math::exp(-0.5 * beta(i) * q / (1 - h.r * h.r));
    }
    return sum;
  }
  void record(RefChain& ch, double x, double y, double z) {
    ch.px = ch.x, ch.py = ch.y, ch.pz = ch.z;
    ch.x = x, ch.y = y, ch.z = z;
    ch.xs.push_back(static_cast<std::int32_t>(x));
    ch.ys.push_back(static_cast<std::int32_t>(std::trunc(height) - y));
    if (rotation) ch.zs.push_back(static_cast<float>(z));
  }
  // Returns false when refusing walls refuse the foray: its straight end
  // lies beyond them (measured from the chain set onto the landscape).
  bool foray(RefChain& ch) {
    const double pi = 4 * math::atan(1.0);
    double k = mean * mean / (sd * sd), s = mean / k;
    double dist = gamma(k) * s;
    double hd = uniform() * (2 * pi);
    double W = std::trunc(width), H = std::trunc(height);
    if (refuse) {
      ch.x = std::clamp(ch.x, 0.0, W);
      ch.y = std::clamp(ch.y, 0.0, H);
    }
    for (;;) {
      double nx = ch.x + dist * math::cos(hd), ny = ch.y + dist * math::sin(hd);
      bool xin = nx >= 0 && nx <= W, yin = ny >= 0 && ny <= H;
      if (xin && yin) {
        ch.x = nx, ch.y = ny;
        return true;
      }
      if (refuse) return false;
      char wall;
      if (!xin && yin)
        wall = nx < 0 ? 'L' : 'R';
      else if (xin)
        wall = ny < 0 ? 'B' : 'T';
      else {
        while (hd > 2 * pi) hd -= 2 * pi;
        while (hd < 0) hd += 2 * pi;
        double t = math::tan(hd);
        double bx = ch.x - ch.y / t, tx = ch.x + (H - ch.y) / t;
        if (pi < hd && hd < 2 * pi && bx >= 0 && bx <= W)
          wall = 'B';
        else if (0 < hd && hd < pi && tx >= 0 && tx <= W)
          wall = 'T';
        else
          wall = nx < 0 ? 'L' : 'R';
      }
      double t = math::tan(hd), ddx, ddy;
      if (wall == 'L')
        ddx = -ch.x, ddy = t * ddx, hd += ddy < 0 ? pi / 2 : -pi / 2;
      else if (wall == 'R')
        ddx = W - ch.x, ddy = t * ddx, hd += ddy < 0 ? -pi / 2 : pi / 2;
      else if (wall == 'B')
        ddy = -ch.y, ddx = ddy / t, hd += ddx < 0 ? -pi / 2 : pi / 2;
      else
        ddy = H - ch.y, ddx = ddy / t, hd += ddx < 0 ? pi / 2 : -pi / 2;
      ch.x = std::clamp(ch.x + ddx, 0.0, W);
      ch.y = std::clamp(ch.y + ddy, 0.0, H);
      dist -= std::sqrt(ddx * ddx + ddy * ddy);
    }
  }
  void step(int p) {
    RefChain& ch = c[p];
    ch.px = ch.x, ch.py = ch.y;
    if (!foray(ch)) {
      record(ch, ch.x, ch.y, ch.z);
      return;
    }
    if (ignore || hills.empty()) {
      record(ch, ch.x, ch.y, ch.z);
      return;
    }
    ch.pz = height_at(p + 1, ch.px, ch.py);
    ch.z = height_at(p + 1, ch.x, ch.y);
    double ratio = ch.z / ch.pz;
    if (ratio < 1 || std::isnan(ratio)) {
      if (uniform() > ratio) ch.x = ch.px, ch.y = ch.py, ch.z = ch.pz;
    }
    record(ch, ch.x, ch.y, ch.z);
  }
  void swap(int a, int b) {
    RefChain &A = c[a], &B = c[b];
    double ax = A.x, ay = A.y, bx = B.x, by = B.y;
    if (hills.empty()) {
      record(A, bx, by, A.z);
      record(B, ax, ay, B.z);
      return;
    }
    double ha_own = height_at(a + 1, ax, ay), ha_other = height_at(a + 1, bx, by);
    double hb_own = height_at(b + 1, bx, by), hb_other = height_at(b + 1, ax, ay);
    double ratio = (ha_other / ha_own) * (hb_other / hb_own);
    if (!(ratio >= 1) && uniform() > ratio) return;
    record(A, bx, by, ha_other);
    record(B, ax, ay, hb_other);
  }
  void walk(int steps, int sx, int sy) {
    for (int p = 0; p < nchains; ++p) {
      c[p] = RefChain{};
      c[p].x = c[p].px = sx, c[p].y = c[p].py = sy;
      record(c[p], sx, sy, 0);
    }
    run(steps);
  }
  void run(int steps) {
    for (int n = 0; n < steps; ++n) {
      for (int p = 0; p < nchains; ++p) step(p);
      if (nchains > 1) {
        int a = static_cast<int>(uniform() * nchains);
        int b = static_cast<int>(uniform() * (nchains - 1)) + a + 1;
        if (b >= nchains) b %= nchains;
        c[a].px = c[a].x, c[a].py = c[a].y, c[b].px = c[b].x, c[b].py = c[b].y;
        swap(a, b);
      }
    }
  }
};

struct Case {
  int chains;
  int hills;
  bool ignore;
  bool rotation;
  double mean;
  double sd;
  int width;
  int height;
  // The third hill's weight: a negative one (possible in a session file)
  // makes heights of either sign; started on that hill, the chains compare
  // two negative heights.
  double third_weight = 0.5;
  int start_x = 150;
  int start_y = 150;
  bool refuse = false;
  // A second walk continues after the window shrank to this size, which
  // leaves chains outside the landscape (0: no second walk).
  int shrunk_width = 0;
  int shrunk_height = 0;
};

class ReferenceWalkTest : public testing::TestWithParam<Case> {};

TEST_P(ReferenceWalkTest, SamplesAreIdenticalToThePlainRules) {
  const Case& k = GetParam();
  Simulation sim;
  sim.rescale(k.width, k.height);
  sim.set_chain_count(k.chains);
  sim.step_mean = k.mean;
  sim.step_stddev = k.sd;
  sim.nsteps = 20000;
  sim.rn_seed = 4711;
  sim.allow_rotation = k.rotation;
  sim.start_x = k.start_x;
  sim.start_y = k.start_y;
  const RefHill spots[] = {{100, 120, 30, 25, 0.3, 1.0, 0},
                           {280, 260, 40, 40, -0.6, 2.0, 0},
                           {200, 60, 15, 50, 0.9, k.third_weight, 0}};
  ReferenceWalk ref;
  for (int h = 0; h < k.hills; ++h) {
    const RefHill& s = spots[h];
    Hill hill;
    hill.mean_x = s.mx;
    hill.mean_y = s.my;
    hill.stddev_x = s.sx;
    hill.stddev_y = s.sy;
    hill.correlation = s.r;
    hill.weight = s.w;
    sim.hills.push_back(hill);
    ref.hills.push_back(s);
  }
  sim.normalize_weights();
  for (std::size_t h = 0; h < ref.hills.size(); ++h) {
    ref.hills[h].rel = sim.hills[h].relative_weight;
  }
  sim.ignore_topography = k.ignore;
  sim.reject_at_walls = k.refuse;
  sim.clear();
  sim.walk(true);

  ref.nchains = k.chains;
  ref.width = sim.width;
  ref.height = sim.height;
  ref.mean = k.mean;
  ref.sd = k.sd;
  ref.ignore = k.ignore;
  ref.rotation = k.rotation;
  ref.refuse = k.refuse;
  ref.state = 4711;
  ref.walk(20000, k.start_x, k.start_y);

  // Only the samples of the second walk are compared then: the window's
  // rescale changed the recorded ones.
  std::size_t compared_from[4] = {};
  if (k.shrunk_width > 0) {
    sim.rescale(k.shrunk_width, k.shrunk_height);
    for (std::size_t h = 0; h < ref.hills.size(); ++h) {
      const Hill& hill = sim.hills[h];
      ref.hills[h] = {hill.mean_x,      hill.mean_y, hill.stddev_x,       hill.stddev_y,
                      hill.correlation, hill.weight, hill.relative_weight};
    }
    bool outside = false;
    for (int p = 0; p < k.chains; ++p) {
      const Chain& chain = sim.chains[static_cast<std::size_t>(p)];
      outside = outside || chain.x > sim.width || chain.y > sim.height;
    }
    EXPECT_TRUE(outside) << "no chain was left outside the smaller landscape";
    for (int p = 0; p < k.chains; ++p) {
      compared_from[p] = ref.c[p].xs.size();
      EXPECT_EQ(sim.chains[static_cast<std::size_t>(p)].xs.size(), compared_from[p]);
    }
    ref.width = sim.width;
    ref.height = sim.height;
    ref.mean = sim.step_mean;
    ref.sd = sim.step_stddev;
    sim.walk(false);
    ref.run(20000);
  }

  for (int p = 0; p < k.chains; ++p) {
    SCOPED_TRACE(p + 1);
    const Chain& chain = sim.chains[static_cast<std::size_t>(p)];
    ASSERT_EQ(chain.xs.size(), ref.c[p].xs.size());
    const auto from = static_cast<std::ptrdiff_t>(compared_from[p]);
    const auto tail = [from](const auto& list) {
      return std::vector(list.begin() + std::min<std::ptrdiff_t>(from, std::ssize(list)),
                         list.end());
    };
    EXPECT_EQ(tail(chain.xs), tail(ref.c[p].xs));
    EXPECT_EQ(tail(chain.ys), tail(ref.c[p].ys));
    EXPECT_EQ(tail(chain.zs), tail(ref.c[p].zs));
    EXPECT_EQ(chain.x, ref.c[p].x);
    EXPECT_EQ(chain.y, ref.c[p].y);
  }
  EXPECT_EQ(sim.rng.state(), ref.state);
}

INSTANTIATE_TEST_SUITE_P(Walks, ReferenceWalkTest,
                         testing::Values(Case{1, 0, true, false, 20, 20, 400, 400},
                                         Case{4, 0, true, true, 20, 20, 400, 400},
                                         Case{1, 3, false, true, 20, 20, 400, 400},
                                         Case{4, 3, false, true, 20, 20, 400, 400},
                                         Case{4, 3, false, false, 20, 10, 400, 400},
                                         Case{3, 2, false, true, 20, 40, 400, 400},
                                         Case{2, 3, true, true, 35, 5, 400, 400},
                                         Case{4, 3, false, true, 90, 300, 317, 219},
                                         Case{4, 3, false, true, 20, 20, 400, 400, -2.0, 200, 60}),
                         [](const testing::TestParamInfo<Case>& info) {
                           const Case& k = info.param;
                           return "chains" + std::to_string(k.chains) + "_hills" +
                                  std::to_string(k.hills) + (k.ignore ? "_flat" : "_topo") +
                                  (k.rotation ? "_rot" : "") + "_" + std::to_string(info.index);
                         });

// Refusing walls: along a wall (chains started by the bottom), with long
// forays in a small window, with the topography ignored, and after the
// window shrank under the chains.
INSTANTIATE_TEST_SUITE_P(
    RefusingWalls, ReferenceWalkTest,
    testing::Values(Case{1, 3, false, true, 20, 20, 400, 400, 0.5, 200, 2, true},
                    Case{4, 3, false, true, 90, 300, 317, 219, 0.5, 150, 150, true},
                    Case{2, 3, true, false, 35, 5, 400, 400, 0.5, 150, 150, true},
                    Case{4, 3, false, true, 20, 20, 400, 400, 0.5, 150, 150, true, 180, 90}),
    [](const testing::TestParamInfo<Case>& info) {
      return std::to_string(info.param.chains) + "_chains_" + std::to_string(info.index);
    });

}  // namespace
}  // namespace wandrix
