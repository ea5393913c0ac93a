#pragma once

#include <QRandomGenerator>

namespace tov::sheetgen {

// Where the choices of a drawn sheet come from: a seeded generator for the tests and the tools,
// the fuzzer's bytes for the fuzz target. Both draw the same way, so a trial means the same
// whatever chose it.
class Choices {
public:
    virtual ~Choices() = default;
    // A whole number from lo to hi, both included.
    virtual int number(int lo, int hi) = 0;
    // A number from lo to hi, in steps fine enough for any condition of a sheet.
    double real(double lo, double hi) { return lo + (hi - lo) * number(0, 10000) / 10000.0; }
    bool chance(int percent) { return number(0, 99) < percent; }
};

class RandomChoices : public Choices {
public:
    explicit RandomChoices(QRandomGenerator& random) : random_(random) {}
    int number(int lo, int hi) override { return lo + random_.bounded(hi - lo + 1); }

private:
    QRandomGenerator& random_;
};

} // namespace tov::sheetgen
