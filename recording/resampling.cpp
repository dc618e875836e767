// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/resampling.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>

#include "base/TesmeraError.h"
#include "recording/parallel_work.h"

namespace tesmera {

namespace {

// Output made per converter call; the block being converted is fed in as
// many calls as it needs.
constexpr std::size_t OutputChunk = 4096;

// The fast converter's filter reaches about 20 zero crossings of the lower
// rate on either side of an output; a piece is given more than that of real
// signal on both sides.
constexpr double FilterReach = 32;  // zero crossings of the lower rate
constexpr double PieceSeconds = 0.5;
// Longest repeat of the rates' ratio for which pieces are used.
constexpr double LongestRepeatSeconds = 0.125;
// Pieces converted together per thread: enough to keep the threads busy.
constexpr std::size_t PiecesPerThread = 2;

// The smallest multiple of `unit` that is at least `least`.
std::size_t MultipleAtLeast(std::size_t unit, double least) {
    return unit * static_cast<std::size_t>(std::max(1.0, std::ceil(least / unit)));
}

[[noreturn]] void Refused(int error) {
    throw TesmeraError(std::string("resampling failed: ") + src_strerror(error));
}

double RatioOf(std::int32_t fromRate, std::int32_t toRate) {
    if (fromRate <= 0 || toRate <= 0) {
        throw std::invalid_argument("the sample rates must be positive");
    }
    return static_cast<double>(toRate) / fromRate;
}

}  // namespace

struct ResamplingStream::Converter {
    SRC_STATE* state = nullptr;
    std::vector<float> in;
    std::vector<float> out = std::vector<float>(OutputChunk);

    ~Converter() {
        if (state != nullptr) {
            src_delete(state);
        }
    }
};

ResamplingStream::ResamplingStream(double ratio, ResamplingQuality quality)
    : converter_(std::make_unique<Converter>()), ratio_(ratio) {
    const int type = quality == ResamplingQuality::Best ? SRC_SINC_BEST_QUALITY : SRC_SINC_FASTEST;
    int error = 0;
    converter_->state = src_new(type, 1, &error);
    if (converter_->state == nullptr) {
        Refused(error);
    }
}

ResamplingStream::~ResamplingStream() = default;

void ResamplingStream::Convert(std::span<const double> block, bool last,
                               std::vector<double>& output) {
    // libsamplerate works on floats: 24 bits, ample for 16-bit output.
    std::vector<float>& in = converter_->in;
    in.assign(block.begin(), block.end());
    std::size_t used = 0;
    while (true) {
        SRC_DATA data{};
        data.data_in = in.data() + used;
        data.input_frames = static_cast<long>(in.size() - used);
        data.data_out = converter_->out.data();
        data.output_frames = static_cast<long>(converter_->out.size());
        data.src_ratio = ratio_;
        data.end_of_input = last ? 1 : 0;
        if (const int error = src_process(converter_->state, &data); error != 0) {
            Refused(error);
        }
        used += static_cast<std::size_t>(data.input_frames_used);
        output.insert(output.end(), converter_->out.begin(),
                      converter_->out.begin() + data.output_frames_gen);
        // Done when the block is in and nothing more comes out: at the end,
        // the tail keeps coming until the filter has emptied.
        if (used == in.size() && data.output_frames_gen == 0) {
            return;
        }
    }
}

std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality) {
    ResamplingStream stream(ratio, quality);
    std::vector<double> output;
    output.reserve(static_cast<std::size_t>(static_cast<double>(input.size()) * ratio) + 1);
    stream.Convert(input, true, output);
    return output;
}

PiecewiseResampler::PiecewiseResampler(std::int32_t fromRate, std::int32_t toRate, unsigned threads)
    : ratio_(RatioOf(fromRate, toRate)), threads_(std::max(1U, threads)) {
    const std::int32_t common = std::gcd(fromRate, toRate);
    const auto repeatInputs = static_cast<std::size_t>(fromRate / common);
    const auto repeatOutputs = static_cast<std::size_t>(toRate / common);
    if (static_cast<double>(repeatInputs) > LongestRepeatSeconds * fromRate) {
        whole_ = std::make_unique<ResamplingStream>(ratio_, ResamplingQuality::Fast);
        return;
    }
    const double reach = std::ceil(FilterReach / std::min(ratio_, 1.0)) + 1;
    pieceInputs_ = MultipleAtLeast(repeatInputs, PieceSeconds * fromRate);
    pieceOutputs_ = pieceInputs_ / repeatInputs * repeatOutputs;
    warmUpInputs_ = MultipleAtLeast(repeatInputs, reach);
    warmUpOutputs_ = warmUpInputs_ / repeatInputs * repeatOutputs;
    lookAheadInputs_ = static_cast<std::size_t>(reach);
}

PiecewiseResampler::~PiecewiseResampler() = default;

void PiecewiseResampler::Convert(std::span<const double> block, bool last,
                                 std::vector<double>& output) {
    if (whole_) {
        whole_->Convert(block, last, output);
        return;
    }
    // A block arriving with nothing held is read where it lies, uncopied.
    const bool direct = held_.empty();
    if (!direct) {
        held_.insert(held_.end(), block.begin(), block.end());
    }
    const std::span<const double> input = direct ? block : std::span<const double>(held_);
    const std::size_t total = heldStart_ + input.size();
    std::vector<Piece> ready;
    for (std::size_t i = nextPiece_; (i + 1) * pieceInputs_ + lookAheadInputs_ <= total; ++i) {
        ready.push_back({i, false});
    }
    std::size_t keepFrom = heldStart_;
    if (last || ready.size() >= PiecesPerThread * threads_) {
        if (last) {
            // The rest up to the end, flushed through the filter.
            ready.push_back({nextPiece_ + ready.size(), true});
        }
        ConvertPieces(input, ready, output);
        nextPiece_ += ready.size();
        // Only the next piece's warm-up and what follows it are needed again.
        keepFrom = std::max(nextPiece_ * pieceInputs_, warmUpInputs_) - warmUpInputs_;
    }
    const std::size_t done = std::min(keepFrom - heldStart_, input.size());
    if (direct) {
        held_.assign(block.begin() + static_cast<std::ptrdiff_t>(done), block.end());
    } else {
        held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(done));
    }
    heldStart_ += done;
}

void PiecewiseResampler::ConvertPieces(std::span<const double> input, std::span<const Piece> pieces,
                                       std::vector<double>& output) const {
    // Every piece but a final one yields pieceOutputs_ samples: each is
    // written straight to its place.
    const std::size_t base = output.size();
    const bool flushes = !pieces.empty() && pieces.back().Final;
    output.resize(base + (pieces.size() - (flushes ? 1 : 0)) * pieceOutputs_);
    std::vector<double> tail;
    RunInParallel(pieces.size(), threads_, [&](std::size_t i) {
        std::vector<double> converted = ConvertPiece(input, pieces[i]);
        if (pieces[i].Final) {
            tail = std::move(converted);
        } else {
            std::ranges::copy(
                converted, output.begin() + static_cast<std::ptrdiff_t>(base + i * pieceOutputs_));
        }
    });
    output.insert(output.end(), tail.begin(), tail.end());
}

std::vector<double> PiecewiseResampler::ConvertPiece(std::span<const double> input,
                                                     const Piece& piece) const {
    // The first piece starts where the unbroken run does, on the silence
    // the converter assumes before the signal.
    const std::size_t start = piece.Index * pieceInputs_;
    const std::size_t from = piece.Index == 0 ? 0 : start - warmUpInputs_;
    const std::size_t skip = piece.Index == 0 ? 0 : warmUpOutputs_;
    const std::size_t to =
        piece.Final ? heldStart_ + input.size() : start + pieceInputs_ + lookAheadInputs_;
    const std::span<const double> fed = input.subspan(from - heldStart_, to - from);
    if (!piece.Final && std::ranges::all_of(fed, [](double v) { return v == 0; })) {
        // Digital silence converts to silence; a long one costs nothing.
        return std::vector<double>(pieceOutputs_, 0.0);
    }
    ResamplingStream stream(ratio_, ResamplingQuality::Fast);
    std::vector<double> produced;
    stream.Convert(fed, piece.Final, produced);
    const std::size_t end = piece.Final ? produced.size() : skip + pieceOutputs_;
    if (produced.size() < end || produced.size() < skip) {
        throw std::logic_error("resampling piece came out short");
    }
    produced.erase(produced.begin() + static_cast<std::ptrdiff_t>(end), produced.end());
    produced.erase(produced.begin(), produced.begin() + static_cast<std::ptrdiff_t>(skip));
    return produced;
}

std::vector<double> ResampleInPieces(std::span<const double> input, std::int32_t fromRate,
                                     std::int32_t toRate, unsigned threads) {
    PiecewiseResampler resampler(fromRate, toRate, threads);
    std::vector<double> output;
    output.reserve(static_cast<std::size_t>(static_cast<double>(input.size()) * toRate / fromRate) +
                   1);
    resampler.Convert(input, true, output);
    return output;
}

}  // namespace tesmera
