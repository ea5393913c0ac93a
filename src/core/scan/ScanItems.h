#pragma once

#include <QString>

#include <vector>

namespace tov::scan {

// One record of the "ScanItem" table: where a field of the answer sheet lies, seen from the
// anchor box corner of an unrotated sheet, and how its bubbles are spaced.
struct ScanItemRow {
    double r = 0, theta = 0, dx = 0, dy = 0;
    int DimX = 0, DimY = 0;
    QString LocationName;
};

// The "ScanItem" table as the reader walks it: stored order, one current row.
class ScanItemTable {
public:
    virtual ~ScanItemTable() = default;
    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;
    virtual bool atEOF() const = 0;
    // The current row; a default row past the end.
    virtual ScanItemRow current() const = 0;
    // Writes X and y into the current record.
    virtual void storeBasePoint(int X, int y) = 0;
};

// Rows held in memory, for tests, tools and fuzzing; the stored base points can be looked at.
class VectorScanItems final : public ScanItemTable {
public:
    struct BasePoint {
        int X = 0;
        int y = 0;
        bool stored = false;
    };

    explicit VectorScanItems(std::vector<ScanItemRow> rows = {});
    void MoveFirst() override { pos_ = 0; }
    void MoveNext() override;
    bool atEOF() const override { return pos_ >= rows_.size(); }
    ScanItemRow current() const override;
    void storeBasePoint(int X, int y) override;

    const std::vector<ScanItemRow>& rows() const { return rows_; }
    const std::vector<BasePoint>& basePoints() const { return basePoints_; }

private:
    std::vector<ScanItemRow> rows_;
    std::vector<BasePoint> basePoints_;
    std::size_t pos_ = 0;
};

} // namespace tov::scan
