#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <map>
#include <memory>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CChoices.h"
#include "app/CPrintDialog.h"
#include "app/ColourEditor.h"
#include "app/ExportDialog.h"
#include "app/ImportDialog.h"
#include "app/ImportOptionsDialog.h"
#include "app/NewFilmDialog.h"
#include "app/sound/CRecordDialog.h"
#include "film/CelvaneDoc.h"
#include "film/FrameFade.h"
#include "playback/CFadeOptionsDialog.h"
#include "playback/CFilmSpeedDialog.h"
#include "playback/CGoToFrameDialog.h"
#include "view/CGridDialog.h"
#include "view/CZoomDialog.h"
#include "view/TitleRoom.h"

using namespace celvane;

namespace {

// The letter after a single '&', or 0.
QChar accessKey(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1].toLower();
        ++i;
    }
    return QChar();
}

bool typedInto(const QWidget* w)
{
    const auto* edit = qobject_cast<const QLineEdit*>(w);
    return (qobject_cast<const QAbstractSpinBox*>(w) || (edit && !qobject_cast<QAbstractSpinBox*>(edit->parent())))
        && w->isEnabled() && w->isVisibleTo(w->window());
}

// Without a field to lead to, a label shows its '&' as it stands.
void expectNoStrayAmpersand(QDialog& dialog, const std::string& name)
{
    for (QLabel* l : dialog.findChildren<QLabel*>())
        EXPECT_TRUE(l->buddy() || accessKey(l->text()).isNull()) << name << ": a stray '&' in " << l->text().toStdString();
}

// What a person using the keyboard meets: every control that can be reached by a key has one,
// no two share one, and the first field to type into has the focus.
void checkKeyboard(QDialog& dialog, const std::string& name)
{
    SCOPED_TRACE(name);
    expectNoStrayAmpersand(dialog, name);
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    EXPECT_GE(dialog.width(), widthForTitle(dialog)) << "the title would be cut";

    std::map<QChar, QString> owners;
    const auto claim = [&](const QString& text) {
        const QChar key = accessKey(text);
        if (key.isNull())
            return;
        const auto [it, fresh] = owners.emplace(key, text);
        EXPECT_TRUE(fresh) << "Alt+" << QString(key).toStdString() << " is both \"" << it->second.toStdString()
                           << "\" and \"" << text.toStdString() << "\"";
    };
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(&dialog) || b->text().isEmpty())
            continue;
        auto* box = qobject_cast<QDialogButtonBox*>(b->parent());
        if (!box || box->standardButton(b) == QDialogButtonBox::NoButton) {
            EXPECT_FALSE(accessKey(b->text()).isNull()) << "no access key: " << b->text().toStdString();
        }
        claim(b->text());
    }
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        QWidget* buddy = l->buddy();
        if (!buddy || !l->isVisibleTo(&dialog) || l->text().isEmpty() || buddy->focusPolicy() == Qt::NoFocus)
            continue;
        EXPECT_FALSE(accessKey(l->text()).isNull()) << "no access key: " << l->text().toStdString();
        claim(l->text());
    }

    QWidget* first = nullptr;
    for (QWidget* w = dialog.nextInFocusChain(); w && w != &dialog; w = w->nextInFocusChain())
        if (dialog.isAncestorOf(w) && typedInto(w)) {
            first = w;
            break;
        }
    if (first) {
        QWidget* focus = dialog.focusWidget();
        EXPECT_TRUE(focus == first || first->isAncestorOf(focus))
            << "focus on " << (focus ? focus->metaObject()->className() : "nothing") << " instead of the first field";
    }
    dialog.hide();
}

} // namespace

TEST(Dialogs, EveryDialogHasItsOwnAccessKeysStartsInItsFirstFieldAndShowsItsWholeTitle)
{
    test::ensureApplication();
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(40, 30, 8));
    QPrinter printer;
    test::TempDir dir;

    NewFilmDialog newFilm(ImageInfo::forFilm(457, 285, 8), ScreenInfo{});
    checkKeyboard(newFilm, "New Film");
    ExportDialog exporter("/tmp/walk.gif", ExportOffer::forFilm(), true);
    checkKeyboard(exporter, "Export");
    ImportDialog importer(ImportOptions{}, "");
    checkKeyboard(importer, "Import");
    ImportOptionsDialog options(ImportOptions{.asBackground = true});
    checkKeyboard(options, "Import Options");
    CZoomDialog zoom(300);
    checkKeyboard(zoom, "Zoom (other)");
    CZoomDialog preset(200);
    checkKeyboard(preset, "Zoom (preset)");
    CGridDialog grid(GridSettings{});
    checkKeyboard(grid, "Grid Settings");
    CGoToFrameDialog goTo(0, 5);
    checkKeyboard(goTo, "Go to Frame");
    CFilmSpeedDialog speed(80);
    checkKeyboard(speed, "Film speed");
    FrameFade fade;
    fade.kind = FrameFade::Slide;
    fade.pause = 50;
    CFadeOptionsDialog fades(fade, true);
    checkKeyboard(fades, "Fade Options");
    ColourEditor colours(nullptr, nullptr);
    colours.setDocument(&doc);
    checkKeyboard(colours, "Colour");
    CPrintDialog print(*doc.film(), printer, QString::fromStdString(dir.file("film.pdf")), nullptr);
    checkKeyboard(print, "Print");
    CRecordDialog record;
    expectNoStrayAmpersand(record, "Record");
    CChoices choices(Settings::instance(), ScreenInfo{}, dir.path());
    expectNoStrayAmpersand(choices, "Choices");
}
