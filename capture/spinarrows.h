#pragma once

#include "widgets/spinbuttons.h"

#include <cstdint>

class QLineEdit;

namespace curvana {

// A pair of spin arrows tied to a number edit. An arrow steps the edit's number by Increment
// within [Min, Max] and writes it back as plain digits, then reports the click; text that is
// not a number is left as it is, so that the click's handler meets it.
class TSpinArrows : public TSpinButtons {
    Q_OBJECT
public:
    explicit TSpinArrows(QWidget* parent = nullptr);

    std::int32_t Min = 0;
    std::int32_t Max = 100;
    std::int32_t Increment = 1;
    QLineEdit* Associate = nullptr;

    // What a click on the up (true) or down (false) arrow does.
    void Step(bool up);

signals:
    void Click(bool up);

protected:
    void ArrowClicked(bool up) override { Step(up); }
};

} // namespace curvana
