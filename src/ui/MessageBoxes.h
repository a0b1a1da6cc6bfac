// The ordinary modal message boxes: one per kind, with its caption and icon.
#pragma once

#include <QString>

#include "core/UserInteraction.h"

class QWidget;

namespace brisko::ui {

// A message with one OK button; waits for the user.
void ShowMessageBox(QWidget* parent, core::MessageKind kind, const QString& text);

// A question with Yes and No; true for Yes (the close box counts as No).
bool AskYesNo(QWidget* parent, core::MessageKind kind, const QString& text);

// The overwrite question of a restore: Yes, No (the default), Yes to All, No to All and Cancel (Esc).
core::OverwriteAnswer AskOverwriteOfMany(QWidget* parent, const QString& text);

// Changes not saved yet: Save (the default), Discard, Cancel (Esc, the close box).
core::UnsavedAnswer AskSaveDiscardCancel(QWidget* parent, const QString& text);

}  // namespace brisko::ui
