// The work kept between runs in the start directory's vkdm_session/ folder:
// the theme pieces as two skin sheets (theme-low.N.bmp, theme-high.N.bmp), the
// slots and snapshot picture of each icon window as one strip each
// (icons-main.N.bmp, icons-os5.N.bmp), and session.txt naming those files
// and holding the database name and where each piece and slot picture came
// from. Every file is written to a temporary name
// and renamed, never through a link, and session.txt last: a run that stops
// halfway leaves the previous session whole. N grows with each write, so only
// the pictures that changed are written again.
#pragma once

#include "work/WorkState.h"

#include <QHash>
#include <QString>

#include <optional>

namespace vv {

inline constexpr const char* kSessionFolderName = "vkdm_session";
inline constexpr const char* kSessionFileName = "session.txt";

class SessionFolder {
public:
    // The session of `startDir`; nothing is read or written yet.
    explicit SessionFolder(QString startDir);

    // StartDir/vkdm_session.
    QString folderPath() const;

    struct Restored {
        enum class Status {
            None,     // nothing kept there
            Restored, // `work` holds every part
            Damaged,  // something is there but cannot be used; `problem` says what
        };
        Status status = Status::None;
        WorkState work;
        QString problem;
    };
    // Reads the kept session. A damaged or partial folder is only reported;
    // it is neither changed nor removed.
    Restored restore();

    // Keeps `work`, which must hold every part, writing only the pictures
    // that changed since the last restore or keep. Returns why it could not,
    // empty on success; the previous session stays whole then.
    QString keep(const WorkState& work);

    // The pictures as kept: `work` (every part) as the four pictures, by
    // their key ("theme-low", "theme-high", "icons-main", "icons-os5").
    static QHash<QString, QImage> keptPictures(const WorkState& work);

private:
    QString startDir_;
    std::optional<WorkState> kept_; // what the folder holds, once known
    QHash<QString, QString> files_; // picture key -> file name in the folder
    qint64 generation_ = 0;         // the highest N in use
};

} // namespace vv
