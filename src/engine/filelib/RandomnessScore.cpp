#include "engine/filelib/RandomnessScore.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kyv::filelib {
namespace {

constexpr double kBins = 256.0;
constexpr double kLn2 = 0.69314718055994530942;

// Above this count the bias of the entropy estimate follows its first-order series to within 1e-9 bits.
constexpr std::uint64_t kExactExpectationLimit = std::uint64_t{1} << 22;

// How many standard deviations of a random sample's entropy are forgiven as chance. One keeps random
// 64-byte keys and typed ones about equally far from 0.88.
constexpr double kChanceAllowance = 1.0;

// Bits of shortfall that halve the measure.
constexpr double kHalvingShortfall = 1.7;

// Above 1 the measure falls slowly for the small shortfalls that compressors leave (headers, tables,
// flat image areas) and fast for the larger ones of text, programs and documents.
constexpr double kShortfallExponent = 2.0;

// Weighted sums over the count c of one bin, under a law given by the ratio P(c+1) / P(c) of its
// successive probabilities. The walk starts at the mode with weight 1 and goes outward, so that no
// probability underflows where it matters and no lgamma (which is not thread-safe) is needed; the sums
// are divided by the total weight at the end. f(c) = c log2 c.
struct BinMoments {
    double meanF = 0.0;
    double meanF2 = 0.0;
    double meanFC = 0.0;
};

template <typename Ratio>
BinMoments WalkFromMode(double mode, double low, double high, Ratio ratio)
{
    double total = 0.0;
    double sumF = 0.0;
    double sumF2 = 0.0;
    double sumFC = 0.0;
    const auto add = [&](double c, double weight) {
        total += weight;
        if (c >= 2.0) {
            const double f = c * std::log2(c);
            sumF += weight * f;
            sumF2 += weight * f * f;
            sumFC += weight * f * c;
        }
    };
    double weight = 1.0;
    add(mode, weight);
    for (double c = mode; c < high; c += 1.0) {
        weight *= ratio(c);
        add(c + 1.0, weight);
    }
    weight = 1.0;
    for (double c = mode - 1.0; c >= low; c -= 1.0) {
        weight /= ratio(c);
        add(c, weight);
    }
    return {sumF / total, sumF2 / total, sumFC / total};
}

double ExactExpectedEntropy(std::uint64_t samples)
{
    // E[H] = log2 n - (256 / n) * E[c log2 c], with c ~ Binomial(n, 1/256) the count of one bin.
    const double n = static_cast<double>(samples);
    const double p = 1.0 / kBins;
    const double mean = n * p;
    const double deviation = std::sqrt(n * p * (1.0 - p));
    const double low = std::max(0.0, std::floor(mean - 12.0 * deviation));
    const double high = std::min(n, std::ceil(mean + 12.0 * deviation + 12.0));
    const double mode = std::floor((n + 1.0) * p);
    const BinMoments moments =
        WalkFromMode(mode, low, high, [n, p](double c) { return (n - c) / (c + 1.0) * p / (1.0 - p); });
    return std::log2(n) - kBins / n * moments.meanF;
}

struct Reference {
    std::uint64_t samples = 0;
    double expectedEntropy = 0.0;
    double chanceSpread = 0.0;
};

// The reference values cost some microseconds; measures of many samples of one length (a report over
// equal-sized files, the keys) ask for the same two lengths, bytes and pairs, again and again.
Reference ReferenceFor(std::uint64_t samples)
{
    thread_local std::array<Reference, 2> recent{};
    thread_local std::size_t oldest = 0;
    for (const Reference& reference : recent) {
        if (reference.samples == samples) {
            return reference;
        }
    }
    const Reference computed{samples, ExpectedUniformEntropy(samples), UniformEntropySpread(samples)};
    recent[oldest] = computed;
    oldest = (oldest + 1) % recent.size();
    return computed;
}

}  // namespace

double ExpectedUniformEntropy(std::uint64_t samples)
{
    if (samples < 2) {
        return 0.0;
    }
    if (samples <= kExactExpectationLimit) {
        return ExactExpectedEntropy(samples);
    }
    const double n = static_cast<double>(samples);
    return 8.0 - (kBins - 1.0) / (2.0 * n * kLn2);
}

// Bin counts are taken as independent Poisson counts, then conditioned on their fixed total
// (Var S - Cov(S, N)^2 / Var N); the large-sample law alone would be off by a factor of three at 64 bytes.
double UniformEntropySpread(std::uint64_t samples)
{
    if (samples < 2) {
        return 0.0;
    }
    const double n = static_cast<double>(samples);
    if (samples > kExactExpectationLimit) {
        return std::sqrt(2.0 * (kBins - 1.0)) / (2.0 * n * kLn2);
    }
    const double lambda = n / kBins;
    const double width = 12.0 * std::sqrt(lambda) + 30.0;
    const double low = std::max(0.0, std::floor(lambda - width));
    const double high = std::ceil(lambda + width);
    const BinMoments moments =
        WalkFromMode(std::floor(lambda), low, high, [lambda](double c) { return lambda / (c + 1.0); });
    const double varianceF = moments.meanF2 - moments.meanF * moments.meanF;
    const double covarianceFC = moments.meanFC - moments.meanF * lambda;
    const double varianceSum = kBins * varianceF - (kBins * covarianceFC) * (kBins * covarianceFC) / n;
    return std::sqrt(std::max(0.0, varianceSum)) / n;
}

double HistogramEntropy(const std::array<std::uint64_t, 256>& counts)
{
    std::uint64_t total = 0;
    for (const std::uint64_t count : counts) {
        total += count;
    }
    if (total == 0) {
        return 0.0;
    }
    // H = log2 n - (1/n) sum c log2 c keeps the sum exact for integer counts.
    double sum = 0.0;
    for (const std::uint64_t count : counts) {
        if (count > 1) {
            const double c = static_cast<double>(count);
            sum += c * std::log2(c);
        }
    }
    const double n = static_cast<double>(total);
    return std::max(0.0, std::log2(n) - sum / n);
}

double EntropyShortfall(const std::array<std::uint64_t, 256>& counts, std::uint64_t samples)
{
    if (samples < 2) {
        return 0.0;
    }
    const Reference reference = ReferenceFor(samples);
    const double shortfall = reference.expectedEntropy - HistogramEntropy(counts);
    return std::max(0.0, shortfall - kChanceAllowance * reference.chanceSpread);
}

double ScoreFromShortfalls(double byteShortfall, double stepShortfall)
{
    const double shortfall = (byteShortfall + stepShortfall) / kHalvingShortfall;
    return std::exp2(-std::pow(shortfall, kShortfallExponent));
}

}  // namespace kyv::filelib
