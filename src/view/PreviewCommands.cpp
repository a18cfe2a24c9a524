#include "view/PreviewCommands.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"

namespace celvane {

PreviewCommands::PreviewCommands(CCelvaneView& view) : QObject(&view), view_(view)
{
    const Settings& settings = Settings::instance();
    view.preview().setLevels(settings.getInt("Preview", "Ghosting", 1, 0, 2), settings.getInt("Preview", "InBetweening", 0, 0, 2));
    view.addCommandTarget(this);
    const auto modeCommand = [this](int id, int mode) {
        return CommandEntry{id, [this, mode] { request(mode); },
                            [this, mode] { return checkedWhen(view_.preview().mode() == mode, view_.film() != nullptr); }};
    };
    addCommands({modeCommand(ID_GHOSTING, PreviewMode::Ghosting),
                 modeCommand(ID_INBETWEENING, PreviewMode::InBetweening)});
}

void PreviewCommands::explain(int mode, int level)
{
    auto* window = new QLabel(&view_, Qt::Tool | Qt::FramelessWindowHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFrameStyle(QFrame::Panel | QFrame::Raised);
    window->setMargin(12);
    window->setWordWrap(true);
    window->setText(QString("<b>%1</b><p>%2</p>")
                        .arg(mode == PreviewMode::Ghosting ? "Entering ghosting mode." : "Entering in-betweening mode.",
                             PreviewLevels::explanation(level)));
    window->setFixedWidth(260);
    window->adjustSize();
    const QPoint centre = view_.mapToGlobal(view_.rect().center());
    window->move(centre - window->rect().center());
    window->show();
    // It only says what the mode shows; it goes by itself rather than wait for a click.
    QTimer::singleShot(5000, window, &QWidget::close);
    explanation_ = window;
}

void PreviewCommands::request(int mode)
{
    if (explanation_)
        explanation_->close();
    ActionSounds::play("New tool");
    const PreviewMode::Switch change = view_.preview().request(mode);
    if (!change.changed)
        return;
    if (change.explain >= 0)
        explain(view_.preview().mode(), change.explain);
    // Blending decodes the neighbours, which takes a moment on large films.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view_.refreshToolState();
    view_.viewport()->repaint();
    QApplication::restoreOverrideCursor();
}

} // namespace celvane
