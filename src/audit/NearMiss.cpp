#include "audit/NearMiss.h"

#include "data/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <sys/mman.h>
#include <utility>

namespace orv {

// How the names within two edits are found.
//
// Two names within two edits of each other read as one and the same text
// once each has lost at most two code points: those an alignment of the two
// changes, inserts or deletes. So only names that share such a text can be
// near, and the index lists every unused name under the texts it can become,
// its deletion keys. A whole name would give hundreds of keys, so a key is
// taken from a window of at most Window code points: the window less up to
// two of them, cut to KeyLength. The windows of a name: its head, the first
// Window code points (all of a shorter name); its tail, the same from the
// last code point backwards, when it is longer than KeyLength; and then
// those from KeyLength, 2 * KeyLength, ... as far as the name reaches.
//
// Each window alone lets every name within two edits through. Of a name's
// window, the code points the alignment keeps are a stretch of the common
// text, from where the window starts less the code points lost before it.
// Deleting from the window those it lost and as many of its first kept ones
// as were lost before it (two deletions at most in all) leaves that text from
// the window's start on, for KeyLength code points or to its end: one key
// that both names have.
//
// Every name has its head keys. Where names are alike in their heads
// (numbered at their end, say), one key lists more than Crowd of them: those
// names, and only those, are listed by their tail keys too, and so on to the
// next window while a key is crowded, up to MostWindows. A missing name asks
// its head keys; a crowded one is asked again through the next window, which
// every name near enough has. So a missing name costs its own keys and the
// names that share a key with it in the windows it asks, which are few unless
// they are near. Only names alike in every window are compared one by one.
//
// Keys are 64-bit hashes of the texts; two texts that share one only add a
// name to compare. Every candidate is compared in full before it is kept.

namespace {

constexpr std::size_t MaxEdits = 2;
constexpr std::size_t Window = 10;
constexpr std::size_t KeyLength = Window - MaxEdits;
// More names than this under one key are told apart by the next window.
constexpr std::size_t Crowd = 24;
// The head, the tail and six more: enough for names of 58 code points. So
// the index of the most alike names stays below 8 * 56 keys a name; when
// thousands are alike in all of these windows, they are compared one by one.
constexpr std::size_t MostWindows = 8;

// Names past this many lose their place in a four-byte entry.
constexpr std::size_t MostNames = std::size_t{1} << 31;

constexpr std::uint64_t StemKeys = 0xa54ff53a5f1d36f1ull;

constexpr std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

std::uint64_t letter(char32_t c) {
    return mix(c + 0x9e3779b97f4a7c15ull);
}

// A text hashes to the sum of letter(c) * Base^k over its code points c at k,
// so a stretch moved k places nearer the start is multiplied by Base^-k.
constexpr std::uint64_t Base = 0x100000001b3ull; // odd: invertible modulo 2^64

constexpr std::uint64_t inverseOf(std::uint64_t odd) {
    std::uint64_t x = odd; // right in the lowest three bits; each step doubles that
    for (int i = 0; i < 5; ++i)
        x *= 2 - odd * x;
    return x;
}
constexpr std::uint64_t BaseInverse = inverseOf(Base);
static_assert(Base * BaseInverse == 1);
constexpr std::uint64_t BaseInverseSquared = BaseInverse * BaseInverse;
constexpr std::array<std::uint64_t, MaxEdits + 1> InversePowers{1, BaseInverse, BaseInverseSquared};

std::uint64_t finish(std::uint64_t sum, std::size_t length, std::uint64_t salt) {
    return mix(sum ^ (salt + length));
}

// How many keys a window of m code points gives at most.
constexpr std::size_t keysAtMost(std::size_t m) {
    return 1 + m + m * (m - (m > 0 ? 1 : 0)) / 2;
}

// The keys of one window of a name.
struct Keys {
    std::array<std::uint64_t, keysAtMost(Window)> keys;
    std::size_t count = 0;
    const std::uint64_t* begin() const { return keys.data(); }
    const std::uint64_t* end() const { return keys.data() + count; }
};

// The keys of window w: w less at most MaxEdits code points, cut to
// KeyLength.
void deletionKeys(std::u32string_view w, std::uint64_t salt, Keys& out) {
    const std::size_t m = w.size();
    std::array<std::uint64_t, Window + 1> sums{};
    std::uint64_t power = 1;
    for (std::size_t q = 0; q < m; ++q) {
        sums[q + 1] = sums[q] + letter(w[q]) * power;
        power *= Base;
    }
    // w[lo, hi), `shift` places nearer the start for the code points
    // deleted before it; what falls past the key's end counts nothing.
    const auto part = [&](std::size_t lo, std::size_t hi, std::size_t shift) -> std::uint64_t {
        hi = std::min(hi, shift + KeyLength);
        return lo < hi ? (sums[hi] - sums[lo]) * InversePowers[shift] : 0;
    };
    const auto key = [&](std::uint64_t sum, std::size_t deleted) {
        out.keys[out.count++] = finish(sum, std::min(KeyLength, m - deleted), salt);
    };
    key(part(0, m, 0), 0);
    // Deleting a code point equal to the one before it gives the same text
    // as deleting that one; deleting past what the key keeps changes
    // nothing.
    for (std::size_t i = 0; i < m && i < KeyLength; ++i) {
        if (i > 0 && w[i] == w[i - 1])
            continue;
        const std::uint64_t before = part(0, i, 0);
        key(before + part(i + 1, m, 1), 1);
        for (std::size_t j = i + 1; j < m && j < KeyLength + 1; ++j) {
            if (j > i + 1 && w[j] == w[j - 1])
                continue;
            key(before + part(i + 1, j, 1) + part(j + 1, m, 2), 2);
        }
    }
}

// Window `level` of a name of `length` code points: 0 the head, 1 the tail,
// then those from (level - 1) * KeyLength on, up to MostWindows in all.
struct WindowPlace {
    bool exists;
    bool backwards;
    std::size_t start;
    std::uint64_t salt;
};

WindowPlace windowOf(std::size_t level, std::size_t length) {
    const std::uint64_t salt = mix(0x6a09e667f3bcc908ull + level);
    if (level == 0)
        return {true, false, 0, salt};
    if (level == 1)
        return {length > KeyLength, true, 0, salt};
    const std::size_t start = (level - 1) * KeyLength;
    return {level < MostWindows && start + Window <= length, false, start, salt};
}

Keys windowKeys(std::u32string_view name, const WindowPlace& place) {
    Keys out;
    if (place.backwards) {
        std::array<char32_t, Window> backwards{};
        const std::size_t m = std::min(Window, name.size());
        std::copy_n(name.rbegin(), m, backwards.begin());
        deletionKeys(std::u32string_view(backwards.data(), m), place.salt, out);
    } else {
        deletionKeys(name.substr(place.start, Window), place.salt, out);
    }
    return out;
}

std::uint64_t stemKey(std::u32string_view stem) {
    std::uint64_t sum = 0;
    for (const char32_t c : stem)
        sum = sum * Base + letter(c);
    return finish(sum, stem.size(), StemKeys);
}

std::u32string foldedCodePoints(std::string_view name) {
    const std::string folded = foldCase(name);
    std::u32string out;
    for (std::size_t pos = 0; pos < folded.size();)
        out.push_back(nextCodePoint(folded, pos));
    return out;
}

// The stem ends at the last "."; a name without one is all stem.
std::size_t stemLength(std::u32string_view name) {
    const auto dot = name.rfind(U'.');
    return dot == std::u32string_view::npos ? name.size() : dot;
}

std::size_t distanceOf(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

// (distance, listing position), nearest and then first listed in front.
using Ranked = std::pair<std::size_t, std::uint32_t>;

// Keeps the `limit` best of what is offered in listing order: one that is
// offered later ranks behind those as near as itself.
void offer(std::vector<Ranked>& best, std::size_t limit, Ranked candidate) {
    const auto at = std::upper_bound(best.begin(), best.end(), candidate.first,
                                     [](std::size_t distance, const Ranked& r) { return distance < r.first; });
    if (at == best.end() && best.size() >= limit)
        return;
    best.insert(at, candidate);
    if (best.size() > limit)
        best.pop_back();
}

// Room for `n` items, asked for on large pages (a hint the system may
// ignore): the keys of a name land all over a table of megabytes, and on
// small pages nearly every look misses the processor's cache of addresses
// as well.
template <typename T> void reserveLarge(std::vector<T>& v, std::size_t n) {
    constexpr std::uintptr_t LargePage = std::uintptr_t{2} << 20;
    v.reserve(n);
    const auto start = reinterpret_cast<std::uintptr_t>(v.data());
    const std::uintptr_t first = (start + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = (start + v.capacity() * sizeof(T)) & ~(LargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace

NearMissIndex::KeyTable::KeyTable(std::size_t positions, std::size_t keys) {
    if (positions > MostNames || keys >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many names for the near-miss index");
    const int positionBits = std::max(1, static_cast<int>(std::bit_width(positions > 0 ? positions - 1 : 0)));
    positionMask_ = static_cast<std::uint32_t>((std::uint64_t{1} << positionBits) - 1);
    // About three entries a bucket (the guess is high): a bucket is a look
    // at one cache line, and the buckets cost a byte a key.
    buckets_ = std::max<std::size_t>(1, keys / 4);
    reserveLarge(starts_, buckets_ + 1);
    starts_.assign(buckets_ + 1, 0);
}

void NearMissIndex::KeyTable::count(std::uint64_t key) {
    ++starts_[bucketOf(key)];
}

void NearMissIndex::KeyTable::startFilling() {
    // Each start becomes the end of its bucket; add() steps it back.
    std::uint32_t total = 0;
    for (std::size_t b = 0; b + 1 < starts_.size(); ++b)
        starts_[b] = total += starts_[b];
    starts_.back() = total;
    reserveLarge(entries_, total);
    entries_.resize(total);
}

void NearMissIndex::KeyTable::add(std::uint64_t key, std::uint32_t position) {
    entries_[--starts_[bucketOf(key)]] = tagOf(key) | position;
}

void NearMissIndex::KeyTable::markCrowds(std::size_t crowd, std::vector<bool>& marks) {
    sortedAbove_ = crowd;
    for (std::size_t b = 0; b + 1 < starts_.size(); ++b) {
        const auto first = entries_.begin() + starts_[b], last = entries_.begin() + starts_[b + 1];
        if (static_cast<std::size_t>(last - first) <= crowd)
            continue;
        // Tag first, then position: each key's positions stay in order.
        std::sort(first, last);
        for (auto run = first; run != last;) {
            const auto end = std::find_if(
                run, last, [&](std::uint32_t e) { return (e & ~positionMask_) != (*run & ~positionMask_); });
            if (static_cast<std::size_t>(end - run) > crowd)
                for (auto e = run; e != end; ++e)
                    marks[*e & positionMask_] = true;
            run = end;
        }
    }
}

std::pair<const std::uint32_t*, const std::uint32_t*> NearMissIndex::KeyTable::entriesOf(std::uint64_t key) const {
    const std::size_t bucket = bucketOf(key);
    const std::uint32_t* first = entries_.data() + starts_[bucket];
    const std::uint32_t* last = entries_.data() + starts_[bucket + 1];
    if (static_cast<std::size_t>(last - first) > sortedAbove_) {
        const auto below = [](std::uint32_t e, std::uint64_t v) { return e < v; };
        const std::uint64_t tag = tagOf(key);
        first = std::lower_bound(first, last, tag, below);
        last = std::lower_bound(first, last, tag + positionMask_ + 1, below);
    }
    return {first, last};
}

std::size_t NearMissIndex::KeyTable::bytes() const {
    return (starts_.capacity() + entries_.capacity()) * sizeof(std::uint32_t);
}

std::size_t EditDistance(std::u32string_view a, std::u32string_view b, std::size_t cap) {
    const std::size_t over = cap + 1;
    if (distanceOf(a.size(), b.size()) > cap)
        return over;
    // What both start or end with adds nothing to the distance; names alike
    // but for a few code points leave little to work out.
    const std::size_t common =
        static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    a.remove_prefix(common);
    b.remove_prefix(common);
    while (!a.empty() && !b.empty() && a.back() == b.back()) {
        a.remove_suffix(1);
        b.remove_suffix(1);
    }
    // Two rows of the table; only the cells within `cap` of the diagonal are
    // worked out (any other is above the cap), and file names are short, so
    // the rows seldom leave the stack.
    const std::size_t width = b.size() + 1;
    constexpr std::size_t OnStack = 64;
    std::size_t stackRows[2][OnStack];
    std::vector<std::size_t> heapRows;
    std::size_t* previous = stackRows[0];
    std::size_t* current = stackRows[1];
    if (width > OnStack) {
        heapRows.assign(2 * width, over);
        previous = heapRows.data();
        current = heapRows.data() + width;
    } else {
        std::fill_n(current, width, over);
    }
    for (std::size_t j = 0; j < width; ++j)
        previous[j] = std::min(j, over);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        const std::size_t lo = i > cap ? i - cap : 1;
        const std::size_t hi = std::min(b.size(), i + cap);
        current[lo - 1] = lo == 1 ? std::min(i, over) : over;
        std::size_t rowBest = current[lo - 1];
        for (std::size_t j = lo; j <= hi; ++j) {
            const std::size_t replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace, over});
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > cap)
            return over;
        std::swap(previous, current);
    }
    return std::min(previous[b.size()], over);
}

NearMissIndex::NearMissIndex(std::vector<std::string> unused) : names_(std::move(unused)) {
    folded_.reserve(names_.size());
    std::size_t bytes = 0;
    for (const std::string& name : names_)
        bytes += name.size();
    foldedText_.reserve(bytes); // a code point takes a byte or more
    for (const std::string& name : names_) {
        const std::u32string folded = foldedCodePoints(name);
        folded_.push_back({static_cast<std::uint32_t>(foldedText_.size()), static_cast<std::uint32_t>(folded.size()),
                           static_cast<std::uint32_t>(stemLength(folded))});
        foldedText_ += folded;
        if (foldedText_.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("too many names for the near-miss index");
    }
    stems_ = KeyTable(names_.size(), names_.size());
    for (std::size_t i = 0; i < folded_.size(); ++i)
        stems_.count(stemKey(folded(i).substr(0, folded_[i].stemLength)));
    stems_.startFilling();
    for (std::size_t i = folded_.size(); i-- > 0;)
        stems_.add(stemKey(folded(i).substr(0, folded_[i].stemLength)), static_cast<std::uint32_t>(i));

    // Every name in the head window; those in a crowd of one window in the
    // next as well.
    std::vector<bool> listed(names_.size(), true);
    for (std::size_t level = 0;; ++level) {
        std::vector<std::uint32_t> here;
        std::size_t keys = 0;
        for (std::size_t i = 0; i < folded_.size(); ++i) {
            const WindowPlace place = windowOf(level, folded_[i].length);
            if (listed[i] && place.exists) {
                here.push_back(static_cast<std::uint32_t>(i));
                keys += keysAtMost(std::min<std::size_t>(Window, folded_[i].length));
            }
        }
        if (here.empty())
            break;
        KeyTable& table = windows_.emplace_back(names_.size(), keys);
        // The keys of a name go to buckets all over the table: each pass
        // asks for them all before it touches the first.
        for (const std::uint32_t i : here) {
            const Keys keysOfName = windowKeys(folded(i), windowOf(level, folded_[i].length));
            for (const std::uint64_t key : keysOfName)
                table.prefetch(key);
            for (const std::uint64_t key : keysOfName)
                table.count(key);
        }
        table.startFilling();
        for (auto i = here.rbegin(); i != here.rend(); ++i) {
            const Keys keysOfName = windowKeys(folded(*i), windowOf(level, folded_[*i].length));
            for (const std::uint64_t key : keysOfName)
                table.prefetch(key);
            for (const std::uint64_t key : keysOfName)
                table.add(key, *i);
        }
        listed.assign(names_.size(), false);
        table.markCrowds(Crowd, listed);
    }
}

std::u32string_view NearMissIndex::folded(std::size_t i) const {
    return std::u32string_view(foldedText_).substr(folded_[i].start, folded_[i].length);
}

std::size_t NearMissIndex::keyCount() const {
    std::size_t keys = 0;
    for (const KeyTable& table : windows_)
        keys += table.size();
    return keys;
}

std::size_t NearMissIndex::indexBytes() const {
    std::size_t bytes = stems_.bytes() + foldedText_.capacity() * sizeof(char32_t) + folded_.capacity() * sizeof(Name);
    for (const KeyTable& table : windows_)
        bytes += table.bytes();
    return bytes;
}

std::vector<std::uint32_t> NearMissIndex::nearCandidates(std::u32string_view name) const {
    // A window may be asked when every name within two edits has it: when
    // a name two code points shorter has it.
    const std::size_t shortest = name.size() > MaxEdits ? name.size() - MaxEdits : 0;
    std::vector<std::uint32_t> candidates;
    bool crowded = true;
    for (std::size_t level = 0; crowded && level < windows_.size(); ++level) {
        const bool last = level + 1 == windows_.size() || !windowOf(level + 1, shortest).exists;
        crowded = false;
        const KeyTable& table = windows_[level];
        const Keys keys = windowKeys(name, windowOf(level, name.size()));
        for (const std::uint64_t key : keys)
            table.prefetch(key);
        for (const std::uint64_t key : keys)
            table.prefetchEntries(key);
        if (last) {
            // No window left to tell the crowds apart: when they list many
            // of the names, the names are compared one by one as they are,
            // instead of once for each key that lists them.
            std::size_t listed = 0;
            for (const std::uint64_t key : keys)
                listed += table.listed(key);
            if (listed > std::max<std::size_t>(folded_.size() / 4, 4096)) {
                candidates.resize(folded_.size());
                std::iota(candidates.begin(), candidates.end(), 0u);
                return candidates;
            }
        }
        const std::size_t crowd = last ? std::numeric_limits<std::size_t>::max() : Crowd;
        for (const std::uint64_t key : keys)
            crowded |= table.visit(key, crowd, [&](std::uint32_t i) { candidates.push_back(i); });
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

std::vector<std::string> NearMissIndex::suggestionsFor(std::string_view missing, std::size_t limit) const {
    if (limit == 0)
        return {};
    const std::u32string name = foldedCodePoints(missing);
    const std::u32string_view stem = std::u32string_view(name).substr(0, stemLength(name));
    const std::u32string_view extension = std::u32string_view(name).substr(stem.size());

    // Same-stem names first, however far: a shared stem adds nothing to the
    // distance, so their extensions alone are compared.
    std::vector<Ranked> sameStem;
    stems_.visit(stemKey(stem), std::numeric_limits<std::size_t>::max(), [&](std::uint32_t i) {
        const std::u32string_view other = folded(i);
        const std::size_t otherStem = folded_[i].stemLength;
        const std::u32string_view otherExtension = other.substr(otherStem);
        if (other.substr(0, otherStem) != stem || otherExtension == extension)
            return; // another stem under the same key, or the very name, which is compared below
        const bool full = sameStem.size() >= limit;
        if (full && sameStem.back().first == 0)
            return;
        const std::size_t cap = full ? sameStem.back().first - 1 : extension.size() + otherExtension.size();
        const std::size_t distance = EditDistance(extension, otherExtension, cap);
        if (distance <= cap)
            offer(sameStem, limit, {distance, i});
    });

    std::vector<Ranked> near;
    if (sameStem.size() < limit) {
        const std::size_t room = limit - sameStem.size();
        for (const std::uint32_t i : nearCandidates(name)) {
            const std::u32string_view other = folded(i);
            const std::size_t otherStem = folded_[i].stemLength;
            if (other.substr(0, otherStem) == stem && other.substr(otherStem) != extension)
                continue; // among the same-stem names already
            const std::size_t distance = EditDistance(name, other, MaxEdits);
            if (distance <= MaxEdits)
                offer(near, room, {distance, i});
        }
    }
    std::vector<std::string> out;
    for (const Ranked& r : sameStem)
        out.push_back(names_[r.second]);
    for (const Ranked& r : near)
        out.push_back(names_[r.second]);
    return out;
}

} // namespace orv
