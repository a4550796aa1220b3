#include "ExamOrder.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace kwizmar {

namespace {

// splitmix64: the same numbers from the same seed everywhere, unlike the
// standard library's distributions.
class TDraw {
public:
    explicit TDraw(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in 0 … bound - 1, without the bias of a plain remainder.
    std::uint64_t Below(std::uint64_t bound) {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
        std::uint64_t value;
        do
            value = Next();
        while (value >= limit);
        return value % bound;
    }
    template <class It> void Shuffle(It first, It last) {
        for (auto n = std::uint64_t(last - first); n > 1; --n)
            std::iter_swap(first + (n - 1), first + Below(n));
    }

private:
    std::uint64_t state_;
};

bool IsPermutation(std::vector<int> values, int first) {
    std::sort(values.begin(), values.end());
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] != first + int(i))
            return false;
    return true;
}

} // namespace

int TExamOrder::FileQuestion(int shown) const {
    if (shown >= 1 && std::size_t(shown) <= questions.size())
        return questions[std::size_t(shown - 1)];
    return shown;
}

int TExamOrder::FileAnswer(int question, int place) const {
    if (question >= 1 && std::size_t(question) <= answers.size() && place >= 0 &&
        place < kOrderedAnswers)
        return answers[std::size_t(question - 1)][std::size_t(place)];
    return place;
}

int TExamOrder::ShownPlace(int question, int answer) const {
    if (question >= 1 && std::size_t(question) <= answers.size()) {
        const TAnswerOrder& order = answers[std::size_t(question - 1)];
        for (int place = 0; place < kOrderedAnswers; ++place)
            if (order[std::size_t(place)] == answer)
                return place;
    }
    return answer;
}

TExamOrder DrawExamOrder(int questionCount,
                         const std::vector<std::array<bool, kOrderedAnswers>>& filled,
                         bool questions, bool answers, std::uint64_t seed) {
    TExamOrder order;
    TDraw draw(seed);
    const std::size_t count = std::size_t(std::max(questionCount, 0));
    if (questions) {
        order.questions.resize(count);
        std::iota(order.questions.begin(), order.questions.end(), 1);
        draw.Shuffle(order.questions.begin(), order.questions.end());
    }
    if (answers) {
        order.answers.resize(count);
        for (std::size_t q = 0; q < count; ++q) {
            TAnswerOrder& places = order.answers[q];
            int n = 0;
            for (int i = 0; i < kOrderedAnswers; ++i)
                if (q < filled.size() && filled[q][std::size_t(i)])
                    places[std::size_t(n++)] = i;
            const int withText = n;
            for (int i = 0; i < kOrderedAnswers; ++i)
                if (q >= filled.size() || !filled[q][std::size_t(i)])
                    places[std::size_t(n++)] = i;
            draw.Shuffle(places.begin(), places.begin() + withText);
        }
    }
    return order;
}

std::uint64_t FreshSeed() {
    std::random_device source;
    return (std::uint64_t(source()) << 32) ^ source();
}

bool OrderFits(const TExamOrder& order, int questionCount) {
    const std::size_t count = std::size_t(std::max(questionCount, 0));
    if (!order.questions.empty() &&
        (order.questions.size() != count || !IsPermutation(order.questions, 1)))
        return false;
    if (order.answers.empty())
        return true;
    if (order.answers.size() != count)
        return false;
    return std::all_of(order.answers.begin(), order.answers.end(), [](const TAnswerOrder& places) {
        return IsPermutation(std::vector<int>(places.begin(), places.end()), 0);
    });
}

} // namespace kwizmar
