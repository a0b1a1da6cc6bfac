// The Restore tab on its own: choosing members and folders, the filter, the target refusal and the
// overwrite question for many files.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "UiTestRegistry.h"
#include "UiTestSupport.h"
#include "core/SystemClock.h"
#include "core/view/MainModel.h"
#include "ui/ArchiveContentsModel.h"
#include "ui/QtUserInteraction.h"
#include "ui/RestoreTab.h"
#include "zip/write/WriteJob.h"

using brisko::uitest::DataFolder;
using brisko::uitest::ModalAnswerer;
using brisko::uitest::Press;
using brisko::uitest::WaitFor;

class RestoreTabTest : public QObject {
  Q_OBJECT
 private:
  static constexpr const char* kMembers[] = {"a.txt",      "b.txt",          "c.txt",
                                             "docs/d.txt", "docs/old/e.txt", "misc/f.txt"};
  std::unique_ptr<DataFolder> data_;
  std::unique_ptr<brisko::ui::QtUserInteraction> ui_;
  std::unique_ptr<brisko::core::MainModel> model_;
  std::unique_ptr<brisko::ui::RestoreTab> tab_;
  QString target_;

  void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
  QString Target(const char* rel) const { return target_ + QLatin1Char('/') + QLatin1String(rel); }

  template <typename T>
  T* Find(const char* name) {
    return tab_->findChild<T*>(QString::fromLatin1(name));
  }
  // Selects the contents rows of these stored names (folders end in "/").
  void Choose(const QStringList& names) {
    QTableView* view = tab_->ContentsGrid();
    for (int r = 0; r < view->model()->rowCount(); ++r) {
      const QModelIndex index = view->model()->index(r, 0);
      if (names.contains(index.data(brisko::ui::ArchiveContentsModel::kStoredNameRole).toString()))
        view->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  QStringList RestoreAnswering(std::initializer_list<ModalAnswerer::Handler> handlers) {
    ModalAnswerer answer;
    for (const auto& h : handlers) answer.Then(h);
    tab_->Restore();
    if (!WaitFor([&] { return answer.AllAnswered(); })) qWarning("not every dialog came");
    return answer.Seen();
  }

 private slots:
  void init() {
    data_ = std::make_unique<DataFolder>();
    const QString src = data_->File(QStringLiteral("src"));
    for (const char* m : kMembers)
      Write(src + QLatin1Char('/') + QLatin1String(m), QByteArray("archived ") + m);
    QDir().mkpath(data_->File(QStringLiteral("out")));
    brisko::zip::WriteOptions options;
    options.rootDir = src.toStdString();
    options.relativePaths = true;
    options.recurse = true;
    options.filesList = {src.toStdString() + "/*.*"};
    brisko::zip::WriteJob writer(std::move(options));
    writer.SetZipName(data_->File(QStringLiteral("out/x.zip")).toStdString());
    writer.Run();

    ui_ = std::make_unique<brisko::ui::QtUserInteraction>();
    model_ = std::make_unique<brisko::core::MainModel>(data_->DataDir(),
                                                       brisko::core::SystemClock::Instance(), *ui_);
    tab_ = std::make_unique<brisko::ui::RestoreTab>(*model_);
    tab_->resize(900, 640);
    tab_->show();
    tab_->Browser().SetDirectoryView(data_->File(QStringLiteral("out")).toStdString());
    target_ = data_->File(QStringLiteral("restored"));
    auto* to = Find<QLineEdit>("DirectoryRestore");
    to->setText(target_);
    emit to->textEdited(target_);
  }
  void cleanup() {
    tab_.reset();
    model_.reset();
    ui_.reset();
    data_.reset();
  }

  void restoresOnlyTheChosenFilesAndFolder() {
    QTableView* view = tab_->ContentsGrid();
    QCOMPARE(view->model()->rowCount(), 3 + 6);  // docs/, docs/old/, misc/ and the six files
    Choose({QStringLiteral("a.txt"), QStringLiteral("c.txt"), QStringLiteral("docs/")});
    const QStringList seen = RestoreAnswering({brisko::uitest::Yes(), brisko::uitest::Ok()});
    QVERIFY(seen.value(0).contains(QStringLiteral("'3 selected item(s)'")));
    QVERIFY(seen.value(1).startsWith(QStringLiteral("Restore Files Succeeds!")));
    for (const char* m : kMembers) {
      const bool chosen = QByteArray(m) != "b.txt" && QByteArray(m) != "misc/f.txt";
      QCOMPARE(QFileInfo::exists(Target(m)), chosen);
    }
    QCOMPARE(Read(Target("docs/old/e.txt")), QByteArray("archived docs/old/e.txt"));
  }

  void filterNarrowsTheContents() {
    auto* filter = Find<QLineEdit>("EditContentsFilter");
    QTableView* view = tab_->ContentsGrid();
    const struct {
      const char* text;
      int rows;
    } cases[] = {{"old", 2}, {"*.txt", 6}, {"docs/*", 4}, {"D.TXT", 1}, {"", 9}};
    for (const auto& c : cases) {
      filter->setText(QLatin1String(c.text));
      QVERIFY2(view->model()->rowCount() == c.rows, c.text);
    }
  }

  void blankTargetIsRefused() {
    auto* to = Find<QLineEdit>("DirectoryRestore");
    to->setText(QString());
    emit to->textEdited(QString());
    const QStringList seen = RestoreAnswering({brisko::uitest::Ok()});
    QCOMPARE(seen.value(0),
             QStringLiteral("Please choose the folder to restore into (\"Extract to:\") first."));
    QVERIFY(!QFileInfo::exists(target_));
    QVERIFY(!QFileInfo::exists(QDir::currentPath() + QStringLiteral("/a.txt")));
  }

  void overwriteQuestionOffersYesToAllAndCancel() {
    Find<QRadioButton>("RadioPrompt")->setChecked(true);
    for (const char* m : {"a.txt", "b.txt", "c.txt"}) Write(Target(m), "mine");
    QStringList seen =
        RestoreAnswering({brisko::uitest::Yes(), Press(QStringLiteral("Yes to All")), brisko::uitest::Ok()});
    QCOMPARE(seen.value(1), QStringLiteral("Replace existing file %1?").arg(Target("a.txt")));
    for (const char* m : {"a.txt", "b.txt", "c.txt"}) QCOMPARE(Read(Target(m)), QByteArray("archived ") + m);

    QDir(target_).removeRecursively();
    for (const char* m : {"a.txt", "b.txt", "c.txt"}) Write(Target(m), "mine");
    seen = RestoreAnswering({brisko::uitest::Yes(), brisko::uitest::Yes(), Press(QStringLiteral("Cancel")),
                             brisko::uitest::Ok()});
    QCOMPARE(seen.value(3), QStringLiteral("Restore stopped: 1 of 6 files restored"));
    QCOMPARE(Read(Target("a.txt")), QByteArray("archived a.txt"));
    QCOMPARE(Read(Target("b.txt")), QByteArray("mine"));
    QVERIFY(!QFileInfo::exists(Target("docs/d.txt")));
  }
};

BRISKO_UI_TEST(RestoreTabTest);
#include "RestoreTabTest.moc"
