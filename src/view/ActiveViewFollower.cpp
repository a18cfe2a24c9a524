#include "view/ActiveViewFollower.h"

#include "view/CCelvaneView.h"

namespace celvane {

ActiveViewFollower::~ActiveViewFollower()
{
    QObject::disconnect(gone_);
    detach();
}

void ActiveViewFollower::follow(CCelvaneView* view, std::function<void()> whenGone)
{
    QObject::disconnect(gone_);
    CCelvaneDoc* document = view ? &view->document() : nullptr;
    if (document != document_) {
        detach();
        document_ = document;
        if (document_)
            document_->addView(&observer_);
    }
    view_ = view;
    // The window may go before anyone tells the bar; its document outlives it.
    if (view)
        gone_ = QObject::connect(view, &QObject::destroyed, &owner_, [this, whenGone = std::move(whenGone)] {
            view_ = nullptr;
            if (whenGone)
                whenGone();
        });
}

void ActiveViewFollower::detach()
{
    if (document_)
        document_->removeView(&observer_);
    document_ = nullptr;
}

} // namespace celvane
