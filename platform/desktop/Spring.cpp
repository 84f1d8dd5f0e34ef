#include "platform/desktop/Spring.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelto::desktop {

namespace {

// Deviation from the target below which a spring counts as at rest.
constexpr double restingDeviation = 1e-3;
// Springs that would take longer than this are cut short (a response of
// zero or an absurd damping must not keep frames coming).
constexpr double longestMotion = 10;

}  // namespace

SpringCurve::SpringCurve(const kit::SpringAnimation& spring)
    : angularFrequency_(spring.response > 0 ? 2 * std::numbers::pi / spring.response : 0),
      dampingFraction_(std::max(spring.dampingFraction, 0.0)),
      settlingTime_(0) {
  if (angularFrequency_ <= 0 || !std::isfinite(angularFrequency_)) return;  // jumps at once
  // The first frame-sized step after which the spring stays within the
  // resting deviation. Without overshoot the approach is monotonic; with it,
  // the oscillation's envelope bounds the deviation from then on.
  constexpr double step = 1.0 / 240;
  const double ringing =
      dampingFraction_ < 1 ? dampingFraction_ / std::sqrt(1 - dampingFraction_ * dampingFraction_) : 0;
  double lastUnsettled = 0;
  for (double t = 0; t < longestMotion; t += step) {
    const double deviation = std::abs(1 - unsettledProgress(t));
    if (deviation > restingDeviation) lastUnsettled = t;
    const double bound =
        dampingFraction_ < 1 ? std::exp(-dampingFraction_ * angularFrequency_ * t) * (1 + ringing) : deviation;
    if (bound <= restingDeviation) break;
  }
  settlingTime_ = std::min(lastUnsettled + step, longestMotion);
}

double SpringCurve::unsettledProgress(double t) const {
  // The damped harmonic oscillator x'' + 2ζωx' + ω²x = ω² from rest at 0.
  const double omega = angularFrequency_;
  const double zeta = dampingFraction_;
  if (zeta == 1) return 1 - (1 + omega * t) * std::exp(-omega * t);
  if (zeta < 1) {
    const double damped = omega * std::sqrt(1 - zeta * zeta);
    return 1 - std::exp(-zeta * omega * t) * (std::cos(damped * t) + zeta * omega / damped * std::sin(damped * t));
  }
  const double root = omega * std::sqrt(zeta * zeta - 1);
  const double fast = -zeta * omega - root;
  const double slow = -zeta * omega + root;
  return 1 - (fast * std::exp(slow * t) - slow * std::exp(fast * t)) / (fast - slow);
}

double SpringCurve::progress(double seconds) const {
  if (!(seconds < settlingTime_)) return 1;
  if (seconds <= 0) return 0;
  return unsettledProgress(seconds);
}

}  // namespace zelto::desktop
