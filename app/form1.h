#pragma once

#include "show/slideshowsource.h"

#include <QLabel>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QFileDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QUrl;

namespace curvana {

// A label that acts on a click (the launcher's "Help" and "Visit Homepage").
class TLinkLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// What the launcher does outside itself. Empty members take the program's own behaviour: the
// slide window, message boxes, the help window, the desktop, the user's settings and data.
struct TLauncherHooks {
    // Presents one document, or a list of slide documents from a start index; each returns when
    // the presenter closes the window.
    std::function<void(const std::string& path)> ShowDocument;
    // The source tells the show where its slides came from, for reading it again when saved.
    std::function<void(int startIndex, const std::vector<std::string>& slides,
                       const TSlideShowSource& source)>
        ShowSlides;
    // The warning box with one OK button ("Open Slide Show File Error.").
    std::function<void(const QString& text)> WarningBox;
    // The default error box, showing an error's own text.
    std::function<void(const QString& text)> ErrorBox;
    // Where slide shows are split; empty: the run's temporary root.
    std::string TempSlideRoot;
    // Shows a page of the help book, such as "about.htm".
    std::function<void(const QString& topic)> ShowHelp;
    // Opens a web address in the desktop's browser.
    std::function<void(const QUrl& url)> OpenUrl;
};

// The launcher: the main window. It records where the program lives, associates slide show
// files with it, and opens a typed, browsed or command-line path in the slide window.
class TForm1 : public QWidget {
public:
    // commandLinePath: the first argument as the bytes it was given, or none when the program
    // was started without one. An empty argument is a path that names no file.
    explicit TForm1(std::optional<std::string> commandLinePath = std::nullopt,
                    TLauncherHooks hooks = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The program's folder with a trailing separator.
    QString ExeDir;
    // What "Visit Homepage" opens: the build setting CURVANA_HOMEPAGE_URL. Empty (the default
    // while the project has no web home) opens the help book's About page instead.
    QString HomepageUrl;

    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    TLinkLabel* Label3 = nullptr;
    TLinkLabel* Label4 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Items = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;

    void FormCreate();
    // Writes the association; then a command-line path is opened and the launcher closes.
    void FormShow();
    // Opens a document or a slide show, told apart by the file's first line. The path's bytes
    // go to the file system unchanged, whatever their encoding.
    void OpenFile(const std::string& path);
    // A typed or chosen path, in the file system's encoding.
    void OpenFile(const QString& path);
    // Enter (either key, whatever the shift state) opens the path in Edit1; returns whether the
    // key was taken.
    bool Edit1KeyDown(int key);
    void Button2Click();
    void RadioGroup1Click();
    void Label3Click();
    void Label4Click();

    // The selected item of RadioGroup1 (0: slide show files, 1: documents).
    int RadioGroup1ItemIndex() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ReportError(const QString& text);
    void ShowHelpPage(const QString& topic);

    std::optional<std::string> FCommandLinePath;
    TLauncherHooks FHooks;
};

inline constexpr const char* OpenFileErrorText = "Open Slide Show File Error.";

} // namespace curvana
