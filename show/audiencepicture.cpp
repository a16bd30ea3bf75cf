#include "show/audiencepicture.h"

#include "show/addlabel.h"

#include <QPainter>
#include <QWidget>

namespace curvana {

QImage AudiencePicture(const QImage& picture, const QWidget& view,
                       const std::vector<TAddLabel*>& labels) {
    QImage result = picture.copy();
    result.setDevicePixelRatio(picture.devicePixelRatio());
    if (result.isNull())
        return result;
    QPainter painter(&result);
    for (TAddLabel* label : labels) {
        if (label->isHidden())
            continue;
        // The painter works in the view's logical pixels; the labels' text lands on the
        // picture's device pixels.
        const QPoint at = view.mapFromGlobal(label->mapToGlobal(QPoint(0, 0)));
        // A transparent label draws only its text; an opaque one fills its box as on screen.
        label->render(&painter, at, QRegion(), QWidget::DrawChildren);
    }
    return result;
}

} // namespace curvana
