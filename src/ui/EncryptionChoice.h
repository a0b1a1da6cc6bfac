// The cipher choice of a project as a drop-down list, shared by the Backup tab and the wizard:
// AES-256 first, the traditional cipher second.
#pragma once

#include <QComboBox>

#include "core/ProjectKinds.h"

namespace brisko::ui {

inline QComboBox* MakeEncryptionChoice(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("ComboEncryption"));
  combo->addItem(QString::fromUtf8(core::kEncryptionAesCaption));
  combo->addItem(QString::fromUtf8(core::kEncryptionTraditionalCaption));
  combo->setToolTip(QStringLiteral("Cipher of the password-protected archives"));
  return combo;
}

inline void ShowEncryption(QComboBox* combo, core::EncryptionKind kind) {
  combo->setCurrentIndex(kind == core::EncryptionKind::Aes256 ? 0 : 1);
}

inline core::EncryptionKind ChosenEncryption(const QComboBox* combo) {
  return combo->currentIndex() == 1 ? core::EncryptionKind::Traditional : core::EncryptionKind::Aes256;
}

}  // namespace brisko::ui
