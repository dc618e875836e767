// SPDX-License-Identifier: GPL-3.0-or-later
// Band-limited sample-rate conversion through libsamplerate.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tesmera {

enum class ResamplingQuality {
    Fast,  // for pitch tracking, where only the low band matters
    Best,  // for the period that is written out
};

// Converts `input` by `ratio` (output rate / input rate). Output sample k
// stands at input time k / ratio, so positions map back by division.
// Throws std::runtime_error when the converter refuses.
std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality);

// The same conversion for a signal given in consecutive blocks: the output
// of all the blocks together is exactly Resample() of the whole signal, while
// only the converter's short filter history is kept between blocks.
class ResamplingStream {
  public:
    ResamplingStream(double ratio, ResamplingQuality quality);
    ~ResamplingStream();
    ResamplingStream(const ResamplingStream&) = delete;
    ResamplingStream& operator=(const ResamplingStream&) = delete;

    // Converts the next block and appends what it yields to `output`; with
    // `last`, also the filter's tail (the signal ends there). Throws
    // std::runtime_error when the converter refuses.
    void Convert(std::span<const double> block, bool last, std::vector<double>& output);

  private:
    struct Converter;
    std::unique_ptr<Converter> converter_;
    double ratio_;
};

// The fast conversion from one integer rate to another, cut into pieces of
// about half a second that are converted independently and so can run on
// several threads. Each piece has its own converter, started a little before
// the piece on an input sample where an output falls exactly (the ratio of
// the rates repeats every few input samples), so the filter sees the same
// signal there as in one unbroken run. The outputs are ResamplingStream's:
// the same count, the same values to the last bit where the ratio is a power
// of two, and otherwise the same up to the converter's rounding of where
// each output lies (a different value is rare and within about 1e-6 of full
// scale). They do not depend on the blocks or the thread count. Rates whose
// ratio only repeats after more than an eighth of a second are converted in
// one unbroken run.
class PiecewiseResampler {
  public:
    // Throws std::invalid_argument unless both rates are positive.
    PiecewiseResampler(std::int32_t fromRate, std::int32_t toRate, unsigned threads);
    ~PiecewiseResampler();
    PiecewiseResampler(const PiecewiseResampler&) = delete;
    PiecewiseResampler& operator=(const PiecewiseResampler&) = delete;

    // As ResamplingStream::Convert. Output may lag the input by up to a few
    // pieces per thread until `last`.
    void Convert(std::span<const double> block, bool last, std::vector<double>& output);

  private:
    struct Piece {
        std::size_t Index;
        bool Final;
    };
    // `input` holds the samples from heldStart_ on.
    void ConvertPieces(std::span<const double> input, std::span<const Piece> pieces,
                       std::vector<double>& output) const;
    std::vector<double> ConvertPiece(std::span<const double> input, const Piece& piece) const;

    double ratio_;
    unsigned threads_;
    std::size_t pieceInputs_ = 0;  // 0: one unbroken run in whole_
    std::size_t pieceOutputs_ = 0;
    std::size_t warmUpInputs_ = 0;  // before a piece, a whole number of repeats
    std::size_t warmUpOutputs_ = 0;
    std::size_t lookAheadInputs_ = 0;  // after a piece
    std::unique_ptr<ResamplingStream> whole_;
    std::vector<double> held_;  // input from heldStart_ on, kept for later pieces
    std::size_t heldStart_ = 0;
    std::size_t nextPiece_ = 0;
};

// The whole of `input` through a PiecewiseResampler.
std::vector<double> ResampleInPieces(std::span<const double> input, std::int32_t fromRate,
                                     std::int32_t toRate, unsigned threads);

}  // namespace tesmera
