#include "show/livereload.h"

#include "docfile/documentloader.h"
#include "model/memory.h"
#include "show/formslideshow.h"
#include "show/slidenotice.h"
#include "view/coordinate.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace curvana {

namespace {

TLiveReload::TSignature SignatureOf(const std::string& path) {
    TLiveReload::TSignature signature;
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return signature;
    }
    signature.Exists = true;
    signature.Device = static_cast<std::uint64_t>(info.st_dev);
    signature.Inode = static_cast<std::uint64_t>(info.st_ino);
    signature.Size = static_cast<std::int64_t>(info.st_size);
    signature.ModifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    signature.ChangedNs =
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
    return signature;
}

} // namespace

TLiveReload::TLiveReload(TFormSlideShow& window) : QObject(&window), Window(window) {
    // Polling sees every way an editor saves (in place, or a new file renamed over the old one)
    // and costs one stat call per tick.
    Poll = new QTimer(this);
    Poll->setInterval(PollMilliseconds);
    connect(Poll, &QTimer::timeout, this, [this] { Tick(); });
    Poll->start();
}

void TLiveReload::SetSource(TSlideShowSource source) {
    Source = std::move(source);
}

// The slide show file while a slide of its list is shown; otherwise the document itself.
std::string TLiveReload::WatchedPath() const {
    if (Source.Split && Window.SlideList &&
        std::find(Window.SlideList->begin(), Window.SlideList->end(), Window.CurrentPath) !=
            Window.SlideList->end()) {
        return Source.Path;
    }
    return Window.CurrentPath;
}

bool TLiveReload::Busy() const {
    // The show is modal itself; any other modal window on top of it is a dialog.
    const QWidget* modal = QApplication::activeModalWidget();
    return !Window.isVisible() || Window.Timer1->isActive() ||
           (modal != nullptr && modal != &Window) || QApplication::activePopupWidget() != nullptr;
}

void TLiveReload::Tick() {
    const std::string path = WatchedPath();
    const TSignature now = SignatureOf(path);
    if (path != Watched) {
        // A new file to watch (the first load, or the presenter opened another document): what
        // is on disk now is what the show reads.
        Watched = path;
        Seen = now;
        return;
    }
    if (now == Seen || !now.Exists || Busy()) {
        return; // a file gone for a moment (while an editor replaces it) is awaited
    }
    Seen = now;
    Reload();
}

void TLiveReload::Reload() {
    try {
        if (Watched == Source.Path && Source.Split) {
            std::vector<std::string> slides = Source.Split();
            if (slides.empty()) {
                throw std::runtime_error(Source.Path + ": the slide show holds no slides");
            }
            const auto last = static_cast<std::int32_t>(slides.size()) - 1;
            Window.SlideIndex = std::clamp(Window.SlideIndex, 0, last);
            Window.SlideList = std::move(slides);
            Window.CurrentPath = (*Window.SlideList)[static_cast<std::size_t>(Window.SlideIndex)];
            Window.UpdateSlideIndicator();
        }
        // Read once on the side: only a file that reads completely replaces the slide, so a
        // broken save leaves the last good picture, labels and view settings in place.
        TCoordinate trialView;
        auto trialList = std::make_unique<TMemory>();
        std::vector<TAddLabelData> trialLabels;
        LoadDocumentFile(Window.CurrentPath, {trialView, trialList, trialLabels});
        trialView.GraphList = nullptr;
        Window.LoadDocument(Window.CurrentPath);
        Window.Notice->Clear(TSlideNotice::TSource::Reload);
    } catch (const std::exception& e) {
        Window.Notice->SetText(TSlideNotice::TSource::Reload, QString::fromUtf8(e.what()));
    }
}

} // namespace curvana
