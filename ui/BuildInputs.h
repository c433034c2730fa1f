// What a build button hands the build run, read off the windows at the moment
// of the click: the Options dialog's depth boxes (live even while it is
// closed), the main window's state and name field, and the run itself with its
// busy label. Both build buttons and Install on PDA go through here.
#pragma once

#include "buildrun/BuildRun.h"
#include "buildrun/InstallHandover.h"
#include "common/LowArtOnly.h"

#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace vv::ui {

// The depth boxes of Form3 and ScreenType, CompressKeyword, the transparency
// texts and VersionNumber of Form1.
BuildOptions currentBuildOptions();

// Form1's Messages as a list; empty before the windows exist.
QStringList currentMessages();
// The text of `message` in the language in use; its built-in English text
// before a language file has been read or where the file has none.
QString currentText(Message message);
// The text of a counted message: `one` when `count` is 1, else `many` with the
// count; either keeps the count where its text names it (%1).
QString currentCountedText(Message one, Message many, qsizetype count);

// A request of `kind` with the options, the messages, the database name from
// Form1's name field (unchanged, blanks included) and Form1's StartDir. The
// families and pieces are the caller's.
BuildRequest buildRequestFromWindows(BuildKind kind);

// Runs one build the way the build buttons do: a name the build refuses is
// reported and nothing is written; otherwise `gatherPieces` fills in the
// families and pieces and may call the build off (returning false, nothing is
// written). Then `busyLabel` is shown and painted at once, the build runs while
// the windows keep repainting (Escape or closing a window cancels it; other
// clicks and keys wait) and every message it returns is shown in order.
// After a clean build the main window's name row shows the database's path
// and size (showBuildResult); otherwise the label is hidden again.
// Returns the build's outcome, or nothing when the build did not run.
std::optional<BuildOutcome> runBuildFromWindows(BuildKind kind, QWidget* busyLabel,
                                                const std::function<bool(BuildRequest&)>& gatherPieces);

// How long a build's result stays at most, in milliseconds.
inline constexpr int kResultNoteMilliseconds = 8000;
// Shows `line` in one line over the main window's name row, where it hides no
// picture, until the next click or key press or kResultNoteMilliseconds.
void showBuildResult(const QString& line);
// Takes a shown result away at once.
void hideBuildResult();

// Asks once about `pairs` (pictures whose user art is only at density 1) and
// acts on the answer: Double replaces their density-2 pictures in `pieces` by
// enlargements, Build as it is leaves them. False when the user cancelled.
// No pairs: true without a question.
bool settleLowArtOnly(QList<PieceFile>& pieces, const QList<DensityPair>& pairs);

// How long Install on PDA waits for the tool to end before it reports the
// tool as still running.
inline constexpr int kInstallWaitMs = 5000;

// Install on PDA: hands PDBFiles/<name>.pdb to the Options dialog's install
// tool and waits up to kInstallWaitMs for it while the windows keep working
// (`installButton` is off meanwhile). A tool that ended well, or still runs,
// is reported as a result line in `resultPlace`'s place; a refusal, a failure
// or a crash as a message. Returns what happened.
InstallResult installFromWindows(QWidget* installButton, QWidget* resultPlace);

// Shows `text` in the place and look of the label `place` until the next
// click or key press anywhere in the program, and with `lifetimeMs` above 0
// for at most that long. An earlier result line there goes first.
void showResultLine(QWidget* place, const QString& text, int lifetimeMs = 0);
// Takes away every result line shown on `window`.
void clearResultLines(QWidget* window);

} // namespace vv::ui
