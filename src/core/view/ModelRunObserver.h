// A backup's or restore's reports on the window: messages and questions, the busy state, the
// progress bar, the log grid, the Stop button.
#pragma once

#include "core/InteractionObserver.h"
#include "core/view/MainModel.h"

namespace brisko::core {

class ModelRunObserver : public InteractionObserver {
 public:
  explicit ModelRunObserver(MainModel& model) : InteractionObserver(model.Ui()), model_(model) {}

  bool wrote = false;  // the run got as far as writing
  // A run nobody started by hand shows no box: its errors and result are kept for one notice.
  bool unattended = false;
  std::string report;

  void OnError(const std::string& text) override {
    if (unattended)
      Keep(text);
    else
      InteractionObserver::OnError(text);
  }
  void OnResult(MessageKind kind, const std::string& text) override {
    if (unattended)
      Keep(text);
    else
      InteractionObserver::OnResult(kind, text);
  }

  void OnLogged() override {
    model_.Log().LoadLog();
    model_.Notify(ModelChange::Log);
  }
  void OnWriting(bool writing) override {
    wrote = wrote || writing;
    model_.SetBusy(writing);
    if (!writing) model_.SetProgress(0);
  }
  void OnProgress(int percent) override { model_.SetProgress(percent); }
  bool StopRequested() override {
    if (model_.processEvents) model_.processEvents();
    return model_.StopRequested();
  }

 private:
  void Keep(const std::string& text) {
    if (!report.empty()) report += "\r";
    report += text;
  }

  MainModel& model_;
};

}  // namespace brisko::core
