// The fill as the program runs it: the same bytes and the same working values as the plain
// definition, for a fraction of the cost.
//
// Each buffer is worked through in blocks of slots, in three steps:
//  1. The counter, pulse gate, phase and sweep, slot by slot as defined. The extended-
//     precision steps run in double arithmetic and detect the rare case where that would
//     round differently (SamplePhase.h); the values stored are bit for bit the defined ones.
//  2. The waveform of the whole block in double precision, several lanes at a time
//     (SampleKernels.h). Each stored result is a rounding (to an integer, or to float32
//     inside the triangle); a double result is trusted only where it lies so far from the
//     nearest rounding boundary that the kernels' error bounds cannot carry the exact value
//     across it.
//  3. The samples written out in slot order; a sample that was not trusted, or whose phase
//     lies outside the kernels' range, is computed by the extended-precision formula itself.
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>

#include "Conversions.h"
#include "PulseGate.h"
#include "SampleFast.h"
#include "SampleKernels.h"
#include "SamplePhase.h"
#include "SampleSynthesis.h"

// The 4-lane kernels are always inlined, so no call passes an AVX vector.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace quor {
namespace {

using kernels::fastAsin;
using kernels::fastSin;
using kernels::kFastArgumentLimit;
using kernels::roundToInteger;

std::atomic<uint64_t> fallbacks{0};
std::atomic<bool> baselineOnly{false};

// Big enough to amortise the per-block work, small enough to stay in the L1 cache. The
// kernels always run over a whole block so that their loops have a fixed trip count.
constexpr int32_t kBlock = 256;

// A product p = w * K (|K| <= kLargestFastScale) is off by at most K * 2^-48 < 2^-28 from the
// exact one; its integer rounding is safe while p stays this close to an integer.
constexpr double kLargestFastScale = 0x1p20;
constexpr double kRoundingSafe = 0.5 - 0x1p-20;

// The square wave needs only the sign of the sine; below this it is left to sinl (the
// kernel's error is below 2^-50 |s| + 2^-100 and hence far smaller).
constexpr double kSquareZeroZone = 0x1p-40;

constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// Not a character type, so stores of it do not make the compiler reload everything else.
enum class SlotKind : uint8_t {
  kHeld,      // CurrentSample is kept
  kComputed,  // a waveform sample
  kGatedOff,  // the silent part of a pulse in 16-bit output: the zero level
};

// Everything the fill reads once per buffer.
struct FillPlan {
  int32_t waveform = 0;
  bool sixteenBit = true;
  bool loop = false;
  bool sweep = false;
  bool pulsed = false;
  bool positiveOffset = false;
  int32_t pulsePeriod = 1;
  float dutyFraction = 0.0f;
  long double scale = 0.0L;  // 32767 * AmplitudeFactor: 39 bits, exact in double too
  double fastScale = 0.0;
  bool fastScaleUsable = false;
  double squareHigh = 0.0;  // the two values a square wave can take, rounded exactly
  double squareLow = 0.0;
  double triangleScale = 0.0;  // (2/pi) scale: the ideal triangle's slope in samples
  double triangleSlack = 0.0;  // A and B of the ideal triangle's trust test
  double triangleSlackPerU = 0.0;
};

FillPlan makePlan(const WorkingValues& v, const FillInputs& in) {
  FillPlan plan;
  plan.waveform = in.waveform;
  plan.sixteenBit = in.bitsPerSample == 16;
  plan.loop = in.loop;
  plan.sweep = in.sweep;
  plan.pulsed = v.PulsesPerSecond != 0;
  plan.positiveOffset = v.PositiveOffsetOn;
  plan.pulsePeriod = pulsePeriod(v);
  plan.dutyFraction = v.DutyFraction;
  plan.scale = 32767.0L * v.AmplitudeFactor;
  plan.fastScale = static_cast<double>(plan.scale);
  plan.fastScaleUsable = std::fabs(plan.fastScale) <= kLargestFastScale;
  plan.squareHigh = RoundHalfEven(1 * plan.scale);
  plan.squareLow = RoundHalfEven(-1 * plan.scale);
  plan.triangleScale = plan.fastScale * kTwoOverPi;
  const double floatStep = std::fabs(plan.fastScale) * 0x1p-24;
  plan.triangleSlack = floatStep * 1.02;
  plan.triangleSlackPerU = floatStep + 0x1p-28;
  return plan;
}

struct Block {
  double phase[kBlock];
  double rounded[kBlock];   // the sample as the double computation found it
  int64_t trusted[kBlock];  // all ones: `rounded` is the exact sample; 0: compute it exactly
  SlotKind kind[kBlock];
};

// The extended-precision formula of one waveform sample.
int32_t exactSample(const FillPlan& plan, double phase) {
  fallbacks.fetch_add(1, std::memory_order_relaxed);
  switch (plan.waveform) {
    case static_cast<int32_t>(WaveformKind::Sine):
      return RoundHalfEven(sinl(static_cast<long double>(phase)) * plan.scale);
    case static_cast<int32_t>(WaveformKind::Square):
      return RoundHalfEven(sign(static_cast<double>(sinl(phase))) * plan.scale);
    case static_cast<int32_t>(WaveformKind::Triangular):
      return RoundHalfEven(triangle(static_cast<float>(phase)) * plan.scale);
    default:
      return 0;
  }
}

// Counter, pulse gate, phase and sweep for `count` slots, exactly as the definition steps
// them; records per slot what is written and the phase of each computed sample. Instantiated
// per combination of the per-buffer switches to keep the loop free of their tests.
enum class SweepKind {
  kNone,
  kStep,     // SweepFactor 1: a sum, as in every linear sweep
  kFactor,   // SweepStep 0: a product, as in every logarithmic sweep
  kGeneral,  // both, which only hand-made values give
};

template <bool SixteenBit, SweepKind Sweep, bool Pulsed>
void stepSlots(WorkingValues& v, const FillPlan& plan, Block& block, int32_t count) {
  double phase = v.Phase;
  double increment = v.PhaseIncrement;
  int32_t counter = v.SampleCounter;
  const int32_t samplesPerPeriod = v.SamplesPerPeriod;
  const bool loop = plan.loop;
  const bool loopComputes = loop && samplesPerPeriod > 0;
  const double restartIncrement = initialIncrement(v);
  const long double sweepFactor = v.SweepFactor;
  const long double sweepStep = v.SweepStep;
  const float factor = v.SweepFactor;
  const double stepAsDouble = v.SweepStep;
  const phase::Wrap wrap;
  const int32_t period = plan.pulsePeriod;
  const float duty = plan.dutyFraction;

  for (int32_t i = 0; i < count; ++i) {
    SlotKind kind = SlotKind::kHeld;
    if (counter < samplesPerPeriod || loopComputes) {
      const bool sounds = !Pulsed || pulseSounds(period, duty, counter);
      // The 8-bit fill skips the generator in the silent part of a pulse.
      if (SixteenBit || sounds) {
        phase = phase::extendedSum(phase, increment);
        if constexpr (Sweep == SweepKind::kStep) {
          increment = phase::extendedSum(increment, stepAsDouble);
        } else if constexpr (Sweep == SweepKind::kFactor) {
          increment = phase::extendedProduct(increment, factor);
        } else if constexpr (Sweep == SweepKind::kGeneral) {
          increment =
              static_cast<double>(static_cast<long double>(increment) * sweepFactor + sweepStep);
        }
        phase = wrap(phase);
        kind = sounds ? SlotKind::kComputed : SlotKind::kGatedOff;
      }
    }
    block.kind[i] = kind;
    block.phase[i] = phase;
    counter = nextCounter(counter);
    if (counter == samplesPerPeriod && loop) {
      counter = 0;
      increment = restartIncrement;
    }
  }
  for (int32_t i = count; i < kBlock; ++i) block.phase[i] = 0.0;

  v.Phase = phase;
  v.PhaseIncrement = increment;
  v.SampleCounter = counter;
}

using StepFunction = void (*)(WorkingValues&, const FillPlan&, Block&, int32_t);

template <bool SixteenBit, SweepKind Sweep>
StepFunction stepFor(bool pulsed) {
  return pulsed ? stepSlots<SixteenBit, Sweep, true> : stepSlots<SixteenBit, Sweep, false>;
}

template <bool SixteenBit>
StepFunction stepFor(const FillPlan& plan, const WorkingValues& v) {
  if (!plan.sweep) return stepFor<SixteenBit, SweepKind::kNone>(plan.pulsed);
  if (v.SweepFactor == 1.0f) return stepFor<SixteenBit, SweepKind::kStep>(plan.pulsed);
  if (v.SweepStep == 0.0f) return stepFor<SixteenBit, SweepKind::kFactor>(plan.pulsed);
  return stepFor<SixteenBit, SweepKind::kGeneral>(plan.pulsed);
}

using kernels::absolute;
using kernels::float32Of;
using kernels::float32RoundingSafe;

// The kernels below are written for a vector type V of doubles (Vec2 or Vec4) and compiled
// once per instruction set; Mask<V> holds one all-ones or all-zeros integer per lane.
template <class V>
using Mask = typename kernels::Lanes<V>::Condition;
template <class V>
constexpr int32_t kLanes = sizeof(V) / sizeof(double);

template <class V>
QUOR_KERNEL V load(const void* from) {
  V v;
  std::memcpy(&v, from, sizeof v);
  return v;
}
template <class V>
QUOR_KERNEL void store(const V& v, void* to) {
  std::memcpy(to, &v, sizeof v);
}

// Lanes whose phase the kernels can take; the others compute at phase 0 and are not trusted.
template <class V>
QUOR_KERNEL Mask<V> inFastRange(V x) {
  return absolute(x) <= kFastArgumentLimit;
}

template <class V>
QUOR_KERNEL void sineKernel(const FillPlan& plan, Block& b) {
  for (int32_t i = 0; i < kBlock; i += kLanes<V>) {
    const V x = load<V>(&b.phase[i]);
    const Mask<V> usable = inFastRange(x);
    const V p = fastSin(usable ? x : 0.0) * plan.fastScale;
    const V r = roundToInteger(p);
    store(r, &b.rounded[i]);
    store(usable & (absolute(p - r) <= kRoundingSafe), &b.trusted[i]);
  }
}

template <class V>
QUOR_KERNEL void squareKernel(const FillPlan& plan, Block& b) {
  const V high = kernels::broadcast<V>(plan.squareHigh);
  const V low = kernels::broadcast<V>(plan.squareLow);
  for (int32_t i = 0; i < kBlock; i += kLanes<V>) {
    const V x = load<V>(&b.phase[i]);
    const Mask<V> usable = inFastRange(x);
    const V s = fastSin(usable ? x : 0.0);
    store(s < 0.0 ? low : high, &b.rounded[i]);
    store(usable & (absolute(s) > kSquareZeroZone), &b.trusted[i]);
  }
}

// The triangle's chain of roundings in double precision for n phases (n a multiple of the
// lanes): the sine of the float32 phase, rounded to float32; its arcsine times 2/pi, rounded to
// float32; the product with the scale, rounded to an integer. A result is trusted where none of
// the three can round differently in extended precision. Two passes, so that the out-of-order
// core overlaps more samples of each long dependency chain.
template <class V>
QUOR_KERNEL void triangleChain(const FillPlan& plan, const double* phase, double* rounded,
                               int64_t* trusted, int32_t n) {
  double sine[kBlock];
  for (int32_t i = 0; i < n; i += kLanes<V>) {
    const V x = load<V>(&phase[i]);
    const Mask<V> usable = inFastRange(x);
    store(fastSin(float32Of(usable ? x : 0.0)), &sine[i]);
    store(usable, &trusted[i]);
  }
  for (int32_t i = 0; i < n; i += kLanes<V>) {
    const V s = load<V>(&sine[i]);
    const V a = float32Of(s);
    const Mask<V> peak = absolute(a) == 1.0;
    const V t = fastAsin(peak ? 0.0 : a) * kTwoOverPi;
    const V tf = peak ? a : float32Of(t);
    // tf * scale has at most 24 + 39 bits: exact in extended precision, one rounding here.
    const V p = tf * plan.fastScale;
    const V r = roundToInteger(p);
    store(r, &rounded[i]);
    const Mask<V> safe = float32RoundingSafe(s) & (peak | float32RoundingSafe(t)) &
                         (absolute(p - r) <= kRoundingSafe);
    store(load<Mask<V>>(&trusted[i]) & safe, &trusted[i]);
  }
}

// The chain moves a sample only a little from the ideal triangle (2/pi) theta scale, theta the
// float32 phase reduced to [-pi/2, pi/2] (asin(sin theta) = theta):
//  - a = float32(sin theta) lies within 2^-24 of sin theta. Where cos theta >= 2^-8 this moves
//    the arcsine by at most 2^-24 / (0.99 cos theta), and cos theta >= (2/pi) u for
//    u = pi/2 - |theta| (Jordan's inequality): (2/pi) asin(a) moves by 2^-24 1.0102 / u;
//  - rounding (2/pi) asin(a), at most 1, to float32 moves it by at most 2^-24 more;
//  - the computed ideal product is within 2^-29 of the exact one (reduction, slope, product).
// The exact sample's product thus lies within scale 2^-24 (1 + 1.0102 / u) + 2^-29 of the ideal
// one, and the ideal one's rounding is the sample wherever its distance d to the nearest
// half-integer is larger: d u > A + B u, A = 1.02 scale 2^-24, B = scale 2^-24 + 2^-28.
// u >= 2^-7 keeps cos theta >= 2^-8 (and |a| < 1); nearer the peaks the chain decides.
constexpr double kIdealTriangleNearestPeak = 0x1p-7;

template <class V>
QUOR_KERNEL void idealTriangleKernel(const FillPlan& plan, Block& b) {
  for (int32_t i = 0; i < kBlock; i += kLanes<V>) {
    const V x = load<V>(&b.phase[i]);
    const Mask<V> usable = inFastRange(x);
    const V theta = kernels::reducedAngle(float32Of(usable ? x : 0.0));
    const V p = theta * plan.triangleScale;
    const V r = roundToInteger(p);
    const V d = 0.5 - absolute(p - r);
    const V u = kernels::detail::kHalfPiHigh - absolute(theta);
    store(r, &b.rounded[i]);
    store(usable & (u >= kIdealTriangleNearestPeak) &
              (d * u > plan.triangleSlack + plan.triangleSlackPerU * u),
          &b.trusted[i]);
  }
}

// Most samples are settled by the ideal triangle; the rest (a few in a hundred at full scale)
// are gathered and taken through the chain.
template <class V>
QUOR_KERNEL void triangleKernel(const FillPlan& plan, Block& b) {
  idealTriangleKernel<V>(plan, b);
  struct {
    int32_t slot[kBlock];
    double phase[kBlock];
    double rounded[kBlock];
    int64_t trusted[kBlock];
  } rest;
  // Held slots are gathered too when untrusted: rare, and harmless.
  int32_t count = 0;
  for (int32_t group = 0; group < kBlock; group += 4) {
    const int64_t* t = &b.trusted[group];
    if ((t[0] & t[1] & t[2] & t[3]) != 0) continue;
    for (int32_t i = group; i < group + 4; ++i) {
      rest.slot[count] = i;
      rest.phase[count] = b.phase[i];
      count += b.trusted[i] == 0;
    }
  }
  if (count == 0) return;
  int32_t padded = count;
  for (; padded % kLanes<V> != 0; ++padded) rest.phase[padded] = 0.0;
  triangleChain<V>(plan, rest.phase, rest.rounded, rest.trusted, padded);
  for (int32_t j = 0; j < count; ++j) {
    b.rounded[rest.slot[j]] = rest.rounded[j];
    b.trusted[rest.slot[j]] = rest.trusted[j];
  }
}

template <class V>
QUOR_KERNEL void evaluateWaveform(const FillPlan& plan, Block& b) {
  switch (plan.waveform) {
    case static_cast<int32_t>(WaveformKind::Sine):
      sineKernel<V>(plan, b);
      break;
    case static_cast<int32_t>(WaveformKind::Square):
      squareKernel<V>(plan, b);
      break;
    case static_cast<int32_t>(WaveformKind::Triangular):
      triangleKernel<V>(plan, b);
      break;
    default:
      for (int32_t i = 0; i < kBlock; ++i) {
        b.rounded[i] = 0.0;
        b.trusted[i] = -1;
      }
      break;
  }
}

void evaluateWithSse2(const FillPlan& plan, Block& b) {
  evaluateWaveform<kernels::Vec2>(plan, b);
}

// The same arithmetic four lanes wide where the processor has AVX2 (nearly all since 2013);
// results are identical, only faster.
[[gnu::target("avx2")]] void evaluateWithAvx2(const FillPlan& plan, Block& b) {
  evaluateWaveform<kernels::Vec4>(plan, b);
}

using EvaluateFunction = void (*)(const FillPlan&, Block&);

EvaluateFunction evaluatorFor(const FillPlan& plan) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (!plan.fastScaleUsable) {
    return [](const FillPlan&, Block& b) {
      for (int64_t& t : b.trusted) t = 0;
    };
  }
  return avx2 && !baselineOnly.load(std::memory_order_relaxed) ? evaluateWithAvx2
                                                               : evaluateWithSse2;
}

inline int32_t withOffset(const FillPlan& plan, int32_t sample) {
  return plan.positiveOffset ? sample / 2 + 16384 : sample;
}

inline void storeSixteenBit(int32_t sample, uint8_t* to) {
  const auto bits = static_cast<uint16_t>(static_cast<uint32_t>(sample));
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(to, &bits, sizeof bits);
  } else {
    to[0] = static_cast<uint8_t>(bits & 0xFF);
    to[1] = static_cast<uint8_t>(bits >> 8);
  }
}

// Whether each of the first `count` slots is a computed sample whose double result is exact.
bool allComputedAndTrusted(const Block& b, int32_t count) {
  int64_t trusted = -1;
  bool computed = true;
  for (int32_t i = 0; i < count; ++i) {
    trusted &= b.trusted[i];
    computed &= b.kind[i] == SlotKind::kComputed;
  }
  return trusted != 0 && computed;
}

// Final samples in slot order, written out; returns the sample held after the block.
int32_t writeSlots(const FillPlan& plan, const Block& b, int32_t count, int32_t current,
                   uint8_t* out) {
  // Most blocks of a 16-bit tone are a plain conversion, which the compiler vectorises.
  if (plan.sixteenBit && !plan.positiveOffset && count > 0 && allComputedAndTrusted(b, count)) {
    for (int32_t i = 0; i < count; ++i)
      storeSixteenBit(static_cast<int32_t>(b.rounded[i]), out + 2 * i);
    return static_cast<int32_t>(b.rounded[count - 1]);
  }
  const bool sixteenBit = plan.sixteenBit;
  const bool positiveOffset = plan.positiveOffset;
  const int32_t zeroLevel = withOffset(plan, 0);
  for (int32_t i = 0; i < count; ++i) {
    const SlotKind kind = b.kind[i];
    if (kind == SlotKind::kComputed) {
      const int32_t sample =
          b.trusted[i] != 0 ? static_cast<int32_t>(b.rounded[i]) : exactSample(plan, b.phase[i]);
      current = positiveOffset ? sample / 2 + 16384 : sample;
    } else if (kind == SlotKind::kGatedOff) {
      current = zeroLevel;
    }
    if (sixteenBit) {
      storeSixteenBit(current, out + 2 * i);
    } else {
      out[i] = static_cast<uint8_t>(current / 256 + 128);
    }
  }
  return current;
}

}  // namespace

uint64_t exactFallbackCount() {
  return fallbacks.load(std::memory_order_relaxed);
}

void useBaselineKernelsOnly(bool on) {
  baselineOnly.store(on, std::memory_order_relaxed);
}

bool FillBuffer(WorkingValues& v, const FillInputs& in, uint8_t* buffer, int32_t size) {
  const FillPlan plan = makePlan(v, in);
  const int32_t bytesPerSlot = plan.sixteenBit ? 2 : 1;
  const int32_t slots = size > 0 ? size / bytesPerSlot : 0;
  const EvaluateFunction evaluate = evaluatorFor(plan);
  const StepFunction step = plan.sixteenBit ? stepFor<true>(plan, v) : stepFor<false>(plan, v);
  Block block;
  for (int32_t first = 0; first < slots; first += kBlock) {
    const int32_t count = slots - first < kBlock ? slots - first : kBlock;
    step(v, plan, block, count);
    evaluate(plan, block);
    v.CurrentSample =
        writeSlots(plan, block, count, v.CurrentSample, buffer + first * bytesPerSlot);
  }
  if (v.SamplesPerPeriod <= 0) return false;
  return !(v.SampleCounter >= v.SamplesPerPeriod && !in.loop);
}

}  // namespace quor
