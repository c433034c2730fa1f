// Where each picture of the work came from and when it was last set, so the
// OS5 check can tell the user's art from the built-in one by what happened
// to it rather than by what it looks like: a database's pictures or a sheet
// that repeats the built-in art must not pass for built-in, and built-in art
// that happens to match a sheet must not pass for the user's.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace vv {

enum class PictureSource : char {
    BuiltIn = 'b',         // the factory picture, never changed since
    Sheet = 's',           // cut from a skin sheet (or halved from a high one)
    Cell = 'c',            // a cell of an icon sheet picked into a slot
    Snapshot = 'n',        // the snapshot picture picked into a slot
    Database = 'd',        // read from an opened database
    DatabaseWithout = 'w', // left as it was by a database that had no picture for it
};

struct PictureOrigin {
    PictureSource source = PictureSource::BuiltIn;
    // When the picture was last set: from one counter for the whole program,
    // so "set after" is a comparison. 0 for a built-in picture.
    quint64 stamp = 0;

    friend bool operator==(const PictureOrigin&, const PictureOrigin&) = default;

    // A picture set now from `source`. Safe from any thread.
    static PictureOrigin fresh(PictureSource source);
};

// The next stamp of the counter: greater than every one handed out before,
// and than every one passed to keepStampsAbove.
quint64 nextPictureStamp();
// Stamps read back from a kept session stay older than everything set from
// now on.
void keepStampsAbove(quint64 stamp);

// While one lives, every picture set takes one stamp: the inputs of one
// command line are given at one moment, whatever order they are read in, so
// a low sheet given beside a high one is not "after" it. Not for threads.
class OnePictureMoment {
public:
    OnePictureMoment();
    ~OnePictureMoment();
    OnePictureMoment(const OnePictureMoment&) = delete;
    OnePictureMoment& operator=(const OnePictureMoment&) = delete;

private:
    quint64 outer_;
};

// A density pair whose art is only at density 1: its low picture was set by
// the user after its high partner was last set, or its high partner is
// built-in or was left by a database that had none. A built-in low picture
// never is, nor one a database left alone.
bool isLowArtOnly(const PictureOrigin& low, const PictureOrigin& high);

// "s42": the source's letter and the stamp, as a kept session writes it.
QByteArray originText(const PictureOrigin& origin);
// The same back; nothing for text originText never writes.
std::optional<PictureOrigin> originFromText(const QByteArray& text);

} // namespace vv
