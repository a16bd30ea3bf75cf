#pragma once

#include "show/slideshowsource.h"

#include <QObject>

#include <cstdint>
#include <string>

class QTimer;

namespace curvana {

class TFormSlideShow;

// Live reload for authors: while the show runs, a save of the shown document, or of the slide
// show file its slides came from, is read again within about half a second, on the same slide;
// pen mode, control panel and view commands are left as they are. A save that breaks the file
// changes nothing on the slide but a notice with the error (the window's Notice), until a later
// save is good again.
// Nothing is read while a dialog or a menu is open, or while a slide load is pending.
class TLiveReload : public QObject {
    Q_OBJECT
public:
    explicit TLiveReload(TFormSlideShow& window);

    // The slide show file behind the slide list; without one only documents are watched.
    void SetSource(TSlideShowSource source);

    // One look at the watched file (the poll timer calls it); reads it again when it changed.
    void Tick();

    // What the file system tells of a file; equal signatures mean an unchanged file.
    struct TSignature {
        bool Exists = false;
        std::uint64_t Device = 0;
        std::uint64_t Inode = 0;
        std::int64_t Size = 0;
        std::int64_t ModifiedNs = 0;
        std::int64_t ChangedNs = 0;
        bool operator==(const TSignature&) const = default;
    };

    static constexpr int PollMilliseconds = 250;

private:
    std::string WatchedPath() const;
    bool Busy() const;
    void Reload();

    TFormSlideShow& Window;
    TSlideShowSource Source;
    QTimer* Poll = nullptr;
    std::string Watched;
    TSignature Seen;
};

} // namespace curvana
