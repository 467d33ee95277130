#pragma once
// Deterministic file contents in the styles of a mail server's distribution, for the benchmarks:
// prose, web pages, source code, program files and already compressed media. The same seed always
// gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tolva::bench {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {  // splitmix64
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return size_t(Next() % n); }

private:
    uint64_t state_;
};

class TextMaker {
public:
    explicit TextMaker(uint64_t seed);

    // Zipf-like choice: common words far more often than rare ones.
    const std::string& Word();
    std::string Sentence();
    std::string Paragraph();
    std::string Html(size_t target, size_t page);
    std::string Text(size_t target);
    // Script source in the style of PHP and JavaScript.
    std::string Code(size_t target);

    Random& random() { return random_; }

private:
    Random random_;
    std::vector<std::string> words_;
};

// Machine code stand-in: instruction-like patterns, tables of strings and stretches of packed
// (incompressible) data.
std::string ProgramFile(Random& random, TextMaker& text, size_t size);
// Already compressed data (images, archives, video).
std::string MediaFile(Random& random, size_t size);

}  // namespace tolva::bench
