#include "app/sound/CSoundTools.h"

#include <QMediaDevices>
#include <QMenu>
#include <QToolButton>

#include "app/sound/CRecordDialog.h"
#include "app/sound/CSoundEffectDialog.h"
#include "app/sound/CSoundPicker.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "platform/SoundRecorder.h"
#include "view/CCelvaneView.h"

namespace celvane {

CSoundTools::CSoundTools(CSoundPicker& picker, const std::function<QAction*(int)>& command, QWidget* parent)
    : QToolBar("Sound", parent), picker_(picker), menu_(new QMenu("&Sounds", this))
{
    setObjectName("Sound");
    hear_ = addAction("Hear", this, &CSoundTools::hear);
    hear_->setStatusTip("Hear this frame's sound");
    record_ = addAction("Record", this, &CSoundTools::record);
    record_->setStatusTip("Record a new sound effect for this frame");
    addSeparator();
    delete_ = addAction("Delete sound", this, &CSoundTools::deleteSound);
    delete_->setStatusTip("Take the sound off this frame");
    effect_ = new QAction("Sound &Effect...", this);
    effect_->setStatusTip("Change how this frame's sound plays");
    connect(effect_, &QAction::triggered, this, &CSoundTools::editEffect);
    name_ = new QToolButton;
    name_->setObjectName("soundName");
    name_->setMinimumWidth(140);
    name_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    name_->setDefaultAction(effect_);
    addWidget(name_);
    for (QAction* a : {hear_, record_, effect_, delete_})
        menu_->addAction(a);
    // Sounds can be silenced from where they are worked on, at any time.
    addSeparator();
    menu_->addSeparator();
    for (const int id : {ID_FILM_SOUNDS, ID_ACTION_SOUNDS})
        if (QAction* a = command(id)) {
            addAction(a);
            menu_->addAction(a);
        }
    // Without a microphone the Record button is greyed out and says why.
    auto* devices = new QMediaDevices(this);
    const auto lookForInputs = [this] {
        canRecord_ = !SoundRecorder::deviceNames().empty();
        refresh();
    };
    connect(devices, &QMediaDevices::audioInputsChanged, this, lookForInputs);
    lookForInputs();
}

CSoundTools::~CSoundTools() = default;

void CSoundTools::setActiveView(CCelvaneView* view)
{
    follower_.follow(view, [this] { refresh(); });
    refresh();
}

Film* CSoundTools::film() const { return follower_.view() ? follower_.view()->film() : nullptr; }

int CSoundTools::frame() const { return follower_.view() ? follower_.view()->currentFrame() : 0; }

QString CSoundTools::soundName() const
{
    const Film* f = film();
    return f ? QString::fromStdString(f->soundName(frame(), 0)) : QString();
}

void CSoundTools::refresh()
{
    const Film* f = film();
    FrameSoundEntry entry;
    const bool has = f && f->soundEntry(frame(), 0, entry);
    hear_->setEnabled(has);
    record_->setEnabled(f && !has && canRecord_);
    // Greyed out, it says why.
    record_->setToolTip(!canRecord_ ? "No suitable sound-recording device is installed."
                        : has       ? "This frame has a sound already: delete it to record another"
                                    : "Record a new sound effect for this frame");
    delete_->setEnabled(has);
    effect_->setEnabled(has && FilmSoundTable::namesASound(entry));
    // The button always shows the name, even greyed out; the action's own text stays for the menu.
    name_->setText(has ? soundName() : QString("(no sound)"));
}

void CSoundTools::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*)
{
    if (hint & (Hint::CurrentFrame | Hint::ActiveViewChanged))
        refresh();
}

void CSoundTools::soundsChanged()
{
    CCelvaneView* view = follower_.view();
    view->document().updateAllViews(nullptr, Hint::CurrentFrame);
    refresh();
}

void CSoundTools::changeSounds(const char* stepName, const std::function<void(Film&, int)>& change)
{
    CCelvaneView* view = follower_.view();
    view->changeFrames(stepName, [&] {
        change(*view->film(), view->currentFrame());
        return view->currentFrame();
    });
    soundsChanged();
}

void CSoundTools::hear()
{
    if (const Film* f = film())
        f->hearSound(frame());
}

void CSoundTools::record()
{
    Film* f = film();
    if (!f)
        return;
    CRecordDialog dialog(window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    Sound* pooled = picker_.keep(dialog);
    // The window may have gone while the dialog was open.
    if (film() != f)
        return;
    changeSounds("Sound", [&](Film& film, int frame) { film.addFrameSound(frame, pooled, dialog.name().toStdString()); });
}

void CSoundTools::deleteSound()
{
    if (film())
        changeSounds("Delete Sound", [](Film& film, int frame) { film.removeSoundEntry(frame, 0); });
}

void CSoundTools::editEffect()
{
    Film* f = film();
    FrameSoundEntry entry;
    if (!f || !f->soundEntry(frame(), 0, entry) || !FilmSoundTable::namesASound(entry))
        return;
    const int number = int(entry.words[0] & FilmSoundTable::kSoundNumber);
    if (number >= f->soundLibrary().count())
        return;
    const Sound& sound = *f->soundLibrary().sound(number);
    FrameSound settings;
    FrameSound::read(entry, sound.rate(), settings);
    CSoundEffectDialog dialog(sound, soundName(), settings, f->period(), window());
    if (dialog.exec() != QDialog::Accepted || film() != f)
        return;
    const FrameSoundEntry changed = dialog.settings().stored(sound.rate(), entry);
    if (changed == entry)
        return;
    changeSounds("Sound Effect", [&](Film& film, int frame) { film.setSoundEntry(frame, 0, changed); });
}

} // namespace celvane
