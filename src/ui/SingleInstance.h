// One running program per user: a second start hands over to the first and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace brisko::ui {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // The channel name; it holds the user name so that each user has an instance of their own.
  static QString DefaultName();

  explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
  ~SingleInstance() override;

  // Asks a running instance to come forward. True when one listens (even if it is too busy to
  // answer at once): this process should end.
  bool NotifyRunning(int timeoutMs = 1500, int answerWaitMs = 10000) const;

  // Starts listening for later starts; false when the channel cannot be opened.
  bool Listen();

  // Tries to hand over, else listens; true when this process is the first instance.
  bool Claim();

 signals:
  // A later start asked this instance to show its main window.
  void activationRequested();

 private:
  void OnNewConnection();

  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace brisko::ui
