#pragma once

#include "widgets/spinbuttons.h"

#include <cstdint>

class QLineEdit;

namespace curvana {

// Spin buttons beside an edit field. The field stays free text (what it holds is checked or
// converted by its dialog); a click reads the field's number, steps it within Min..Max and
// writes it back. A field that holds no number steps from Position.
class TUpDown : public TSpinButtons {
    Q_OBJECT
public:
    TUpDown(QLineEdit* associate, std::int32_t min, std::int32_t max, QWidget* parent = nullptr);

    std::int32_t Min() const { return FMin; }
    std::int32_t Max() const { return FMax; }
    std::int32_t Position() const { return FPosition; }

    // Steps by delta (+1 for the up button, -1 for the down button).
    void Step(std::int32_t delta);

protected:
    void ArrowClicked(bool up) override { Step(up ? 1 : -1); }

private:
    QLineEdit* FAssociate;
    std::int32_t FMin;
    std::int32_t FMax;
    std::int32_t FPosition;
};

} // namespace curvana
