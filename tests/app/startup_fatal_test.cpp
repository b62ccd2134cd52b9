// An engine that cannot be used ends start-up with the fatal message and exit code -1, before the window
// is shown. A process of its own: no engine may have been loaded before.
#include <dlfcn.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <jpeglib.h>

#include "app/carried_files.h"
#include "app/startup.h"
#include "app_test_support.h"

using namespace lexomir;
using namespace lexomir::testing;

namespace {

bool write_file(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A real library without the entry: the JPEG decoder the window links anyway.
QString library_without_the_entry() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&jpeg_std_error), &info) || !info.dli_fname) return {};
  return QString::fromLocal8Bit(info.dli_fname);
}

}  // namespace

class StartupFatalTest : public QObject {
  Q_OBJECT

 private slots:
  void unusable_engine_ends_with_the_message_and_minus_1_data() {
    QTest::addColumn<QString>("engine_content");
    QTest::addColumn<bool>("in_program_folder");
    QTest::newRow("engine file is no library") << QStringLiteral("not a library") << false;
    QTest::newRow("library without the entry") << QStringLiteral("@library") << true;
  }
  void unusable_engine_ends_with_the_message_and_minus_1() {
    QFETCH(QString, engine_content);
    QFETCH(bool, in_program_folder);
    QTemporaryDir program, engine, temp;
    QByteArray bytes = engine_content.toUtf8();
    if (engine_content == "@library") {
      QFile library(library_without_the_entry());
      QVERIFY(library.open(QIODevice::ReadOnly));
      bytes = library.readAll();
    }
    QVERIFY(write_file((in_program_folder ? program : engine).path() + "/jedata.dll", bytes));

    ui::StartupConfig config;
    config.folders = {program.path().toStdString(), engine.path().toStdString(), temp.path().toStdString()};
    config.methods = MethodCounter().methods();
    QStringList messages;
    bool window_seen = false;
    config.show_fatal = [&](const QString& message) {
      messages << message;
      for (QWidget* widget : QApplication::topLevelWidgets())
        window_seen = window_seen || widget->isVisible();
    };
    QCOMPARE(ui::run_program(config), -1);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains(QStringLiteral("\"jedata.dll\"")));
    QVERIFY(messages[0].contains(QStringLiteral("SkinH_AttachEx")));
    QVERIFY(!window_seen);
    // The skin was still written before the engine was called.
    QVERIFY(QFile::exists(temp.path() + "/" + ui::kSkinFileName));
  }
};

QTEST_MAIN(StartupFatalTest)
#include "startup_fatal_test.moc"
