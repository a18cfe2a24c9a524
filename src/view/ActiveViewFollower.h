#pragma once
// What a bar needs to follow the active film window: the window's document tells the bar of
// every change, and the bar lets go of both when the window goes.

#include <QMetaObject>
#include <functional>

class QObject;

namespace celvane {

class CCelvaneDoc;
class CCelvaneView;
class DocumentObserver;

class ActiveViewFollower {
public:
    // `owner` is the bar (connections end with it); `observer` is what the document tells.
    ActiveViewFollower(QObject& owner, DocumentObserver& observer) : owner_(owner), observer_(observer) {}
    ~ActiveViewFollower();
    ActiveViewFollower(const ActiveViewFollower&) = delete;
    ActiveViewFollower& operator=(const ActiveViewFollower&) = delete;

    // Follows a window (null: none). `whenGone` runs if the window is destroyed while followed.
    void follow(CCelvaneView* view, std::function<void()> whenGone);
    CCelvaneView* view() const { return view_; }
    CCelvaneDoc* document() const { return document_; }

private:
    void detach();

    QObject& owner_;
    DocumentObserver& observer_;
    CCelvaneView* view_ = nullptr;
    CCelvaneDoc* document_ = nullptr;
    QMetaObject::Connection gone_;
};

} // namespace celvane
