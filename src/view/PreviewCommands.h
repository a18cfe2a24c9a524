#pragma once
// The Ghosting and In-Betweening commands of a film window, and the small window that explains
// a level the first time it is used there. Made for each window and owned by it.

#include <QObject>
#include <QPointer>

#include "base/Command.h"

class QWidget;

namespace celvane {

class CCelvaneView;

class PreviewCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit PreviewCommands(CCelvaneView& view);

private:
    void request(int mode);
    void explain(int mode, int level);

    CCelvaneView& view_;
    QPointer<QWidget> explanation_;
};

} // namespace celvane
