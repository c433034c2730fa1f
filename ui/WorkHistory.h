// Undo and redo as the windows offer them: the program's one history over the
// theme pieces (Form2->Pieces), the icon slots and snapshot pictures
// (Form1->IconBoard) and the database name (Form1->Edit1), the Undo and Redo
// entries every window has, and the actions that are steps of their own
// (Reset Data, Start afresh).
#pragma once

#include "icons/IconBoard.h"
#include "work/EditHistory.h"

class QLineEdit;
class QWidget;

namespace vv::ui {

// Form1's history. Only while the windows exist.
EditHistory& editHistory();

// The parts of the work the windows hold now.
WorkState takeWorkFromWindows(WorkParts parts);
// Puts the parts `state` holds into the windows and shows them everywhere.
void putWorkIntoWindows(const WorkState& state);
// Shows every picture of the work on every window that exists.
void showWorkOnWindows();

// Undo and Redo for `window` on Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y, named
// after their step; `inMenu` also puts them first in its context menu.
void installUndoActions(QWidget* window, bool inMenu);
// "Start afresh" in the main window's context menu.
void installStartAfreshAction(QWidget* mainWindow);
// The captions and states of every Undo, Redo and Start afresh entry, after
// a step or a change of language.
void updateUndoActions();

// The name field: what is typed there becomes name steps, one per burst, and
// the undo keys in it are the program's undo, not the field's own.
void watchNameField(QLineEdit* field);

// Reset Data on the icon window `window`: when any of its slots holds a pick,
// asks first how many will go; then resets the slots and the snapshot picture
// (and on the main window the name) as one step.
void resetIconWindow(IconWindow window);
// Start afresh: every picture back to the built-in one and no name, as one step.
void startAfresh();

} // namespace vv::ui
