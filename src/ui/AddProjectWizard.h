// The add-project wizard: six pages that build a new project, checked page by page.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "core/view/ProjectWizard.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTimeEdit;

namespace brisko::ui {

class DestinationFields;
class ScheduleEditor;
class SourceFields;
class SourceListPanel;

class AddProjectWizard : public QDialog {
  Q_OBJECT
 public:
  // projects is the main window's list; the wizard writes the new project into dataDir on Finish.
  AddProjectWizard(std::string dataDir, std::vector<std::string> projects,
                   const core::GlobalSettings& settings, core::UserInteraction& ui, const core::Clock& clock,
                   QWidget* parent = nullptr);
  ~AddProjectWizard() override;

  core::ProjectWizard& Model() { return *model_; }

 private:
  QWidget* BuildNamePage();
  QWidget* BuildSourcePage();
  QWidget* BuildExcludePage();
  QWidget* BuildDestinationPage();
  QWidget* BuildOptionsPage();
  QWidget* BuildSchedulePage();
  QWidget* Page(const char* heading, const QString& further, QWidget* body);

  // Shows the model in the controls (values and enabling) without feeding changes back.
  void Sync();
  void OnBack();
  void OnNext();

  std::string dataDir_;
  core::UserInteraction& ui_;
  std::unique_ptr<core::ProjectWizard> model_;
  bool syncing_ = false;

  QStackedWidget* pages_;
  QPushButton* back_;
  QPushButton* next_;
  QLineEdit* name_;
  SourceListPanel* backupPanel_;
  SourceListPanel* excludePanel_;
  SourceFields* sourceFields_;
  QLabel* subfolderLabel_;
  DestinationFields* destination_;
  QCheckBox* usePassword_;
  QLabel* passwordLabel_;
  QLabel* retypeLabel_;
  QLabel* encryptionLabel_ = nullptr;
  QLineEdit* password_;
  QComboBox* encryption_ = nullptr;
  QLineEdit* retype_;
  QCheckBox* useComment_;
  QLineEdit* comment_;
  QCheckBox* storePaths_;
  QSpinBox* keep_;
  QSlider* level_;
  ScheduleEditor* schedule_;
};

}  // namespace brisko::ui
