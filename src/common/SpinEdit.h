#pragma once
// A number box that reads its text as a spin edit does: a text that is no number counts as
// the minimum, and a number outside the range is brought to the nearer limit, both when the
// box is left and when its text is taken.

#include <QSpinBox>

namespace xr {

class SpinEdit : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

    void fixup(QString& input) const override;
};

} // namespace xr
