#pragma once
// The Export dialog: a file name, the kind to write, and a box to write only the selection
// (offered only when something is selected). Films and stamps each offer their own kinds.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/Exporter.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace celvane {

// What an Export dialog offers.
struct ExportOffer {
    struct Kind {
        std::string name;
        std::string extension; // with its dot
    };
    std::vector<Kind> kinds;
    // The kind a typed name asks for, by its extension.
    std::function<std::optional<int>(const std::string& path)> kindForPath;
    QString selectionText;

    // A film's kinds (exportKinds()), "Current Selection" writing the marked frames.
    static ExportOffer forFilm();
    // Kinds told apart by their extensions alone.
    static ExportOffer byExtension(std::vector<Kind> kinds, const QString& selectionText);
};

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    ExportDialog(const std::string& suggestedPath, ExportOffer offer, bool haveSelection, QWidget* parent = nullptr);

    std::string path() const;
    // The file that will be written: the name, with the kind's extension when it has none, in
    // the suggested file's folder when it names none.
    std::string targetPath() const;
    // The chosen kind, as its index in the offer.
    int kind() const;
    bool selectionOnly() const;
    void setPath(const std::string& path);
    void setKind(int kind);
    void setSelectionOnly(bool on);

    // Stays open when the file exists and the user would rather not replace it.
    void accept() override;

private:
    ExportOffer offer_;
    QLineEdit* path_;
    QComboBox* kinds_;
    QCheckBox* selection_;
    std::string folder_;
};

} // namespace celvane
