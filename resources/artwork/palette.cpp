#include "resources/artwork/palette.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace artwork {
namespace {

constexpr std::size_t kPaletteSize = 256;
// A colour covering at least this many pixels is a surface, not an edge tone.
constexpr std::uint32_t kSurfacePixels = 24;
// Leave at least this many entries for the clustered edge tones.
constexpr std::size_t kClusterEntries = 96;
constexpr int kRefinePasses = 8;

struct Entry {
    Rgb colour;
    std::uint32_t count;
};

std::uint32_t key(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

// Perceptual weights: the eye resolves green best and blue worst.
long distance(Rgb a, Rgb b) {
    const long dr = long{a.r} - b.r, dg = long{a.g} - b.g, db = long{a.b} - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Index of the closest of the first `count` entries.
std::size_t nearest(const std::vector<Rgb>& palette, std::size_t count, Rgb c) {
    std::size_t best = 0;
    long bestDistance = distance(palette[0], c);
    for (std::size_t i = 1; i < count && bestDistance != 0; ++i) {
        const long d = distance(palette[i], c);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

Rgb weightedMean(const std::vector<Entry>& entries) {
    double r = 0, g = 0, b = 0, n = 0;
    for (const Entry& e : entries) {
        r += static_cast<double>(e.colour.r) * e.count;
        g += static_cast<double>(e.colour.g) * e.count;
        b += static_cast<double>(e.colour.b) * e.count;
        n += e.count;
    }
    auto channel = [n](double v) { return static_cast<std::uint8_t>(std::clamp(v / n + 0.5, 0.0, 255.0)); };
    return {channel(r), channel(g), channel(b)};
}

int channelOf(Rgb c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

// Median cut: split the box whose widest channel spread, weighted by its
// pixel count, is largest, at its weighted median, until `boxes` exist.
std::vector<Rgb> medianCut(std::vector<Entry> entries, std::size_t boxes) {
    std::vector<std::vector<Entry>> cut;
    if (!entries.empty()) cut.push_back(std::move(entries));
    while (cut.size() < boxes) {
        std::size_t widest = cut.size();
        int widestAxis = 0;
        double widestScore = 0;
        for (std::size_t i = 0; i < cut.size(); ++i) {
            if (cut[i].size() < 2) continue;
            std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
            double weight = 0;
            for (const Entry& e : cut[i]) {
                for (int a = 0; a < 3; ++a) {
                    lo[a] = std::min(lo[a], channelOf(e.colour, a));
                    hi[a] = std::max(hi[a], channelOf(e.colour, a));
                }
                weight += e.count;
            }
            for (int a = 0; a < 3; ++a) {
                const double score = (hi[a] - lo[a]) * weight;
                if (score > widestScore) {
                    widestScore = score;
                    widest = i;
                    widestAxis = a;
                }
            }
        }
        if (widest == cut.size()) break;  // every box is a single colour
        std::vector<Entry>& box = cut[widest];
        std::sort(box.begin(), box.end(), [widestAxis](const Entry& a, const Entry& b) {
            return channelOf(a.colour, widestAxis) < channelOf(b.colour, widestAxis);
        });
        double total = 0;
        for (const Entry& e : box) total += e.count;
        double running = 0;
        std::size_t split = 1;
        for (; split < box.size() - 1; ++split) {
            running += box[split - 1].count;
            if (running >= total / 2) break;
        }
        std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(split), box.end());
        box.resize(split);
        cut.push_back(std::move(upper));
    }
    std::vector<Rgb> centres;
    for (const auto& box : cut) centres.push_back(weightedMean(box));
    return centres;
}

}  // namespace

PalettisedImage palettise(const Image& image) {
    std::unordered_map<std::uint32_t, Entry> histogram;
    for (const Rgb& p : image.pixels) {
        auto [it, inserted] = histogram.try_emplace(key(p), Entry{p, 0});
        ++it->second.count;
    }
    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (const auto& [k, e] : histogram) entries.push_back(e);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.count != b.count ? a.count > b.count : key(a.colour) < key(b.colour);
    });

    std::vector<Rgb> palette;
    std::size_t fixedCount = 0;
    if (entries.size() <= kPaletteSize) {
        for (const Entry& e : entries) palette.push_back(e.colour);
        fixedCount = palette.size();
    } else {
        while (fixedCount < kPaletteSize - kClusterEntries && entries[fixedCount].count >= kSurfacePixels)
            palette.push_back(entries[fixedCount++].colour);
        std::vector<Entry> rest(entries.begin() + static_cast<std::ptrdiff_t>(fixedCount), entries.end());
        for (const Rgb& c : medianCut(rest, kPaletteSize - fixedCount)) palette.push_back(c);

        // Refine the clustered entries towards the colours they stand for;
        // the exact surface colours never move.
        for (int pass = 0; pass < kRefinePasses; ++pass) {
            std::vector<std::vector<Entry>> members(palette.size());
            for (const Entry& e : rest) members[nearest(palette, palette.size(), e.colour)].push_back(e);
            for (std::size_t i = fixedCount; i < palette.size(); ++i)
                if (!members[i].empty()) palette[i] = weightedMean(members[i]);
        }
    }
    // Only the real entries are searched, so padding never catches a colour.
    const std::size_t usedEntries = std::max<std::size_t>(1, palette.size());
    palette.resize(kPaletteSize, Rgb{});

    PalettisedImage out;
    out.indices.reserve(image.pixels.size());
    std::unordered_map<std::uint32_t, std::uint8_t> cache;
    for (const Rgb& p : image.pixels) {
        auto [it, inserted] = cache.try_emplace(key(p), 0);
        if (inserted) it->second = static_cast<std::uint8_t>(nearest(palette, usedEntries, p));
        out.indices.push_back(it->second);
    }
    out.palette = std::move(palette);
    return out;
}

}  // namespace artwork
