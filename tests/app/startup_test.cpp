// Start-up against temporary folders: what it writes where, what it leaves alone, which skin it applies
// and the exit code when the window closes.
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/carried_files.h"
#include "app/startup.h"
#include "app_test_support.h"

using namespace lexomir;
using namespace lexomir::testing;

namespace {

QByteArray read_file(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_file(const std::string& path, const QByteArray& bytes) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString sheet_of(const QByteArray& skin) { return QString::fromUtf8(skin.mid(6)); }

void close_all_windows_soon(int ms) {
  QTimer::singleShot(ms, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->close();
  });
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qApp->setStyleSheet({});
    program_ = std::make_unique<QTemporaryDir>();
    engine_ = std::make_unique<QTemporaryDir>();
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(program_->isValid() && engine_->isValid() && temp_->isValid());
    folders_ = {program_->path().toStdString(), engine_->path().toStdString(), temp_->path().toStdString()};
  }

  void carried_skins_are_skin_files() {
    for (int n = 1; n <= 25; ++n) {
      const QByteArray skin = ui::skin_bytes(n);
      QVERIFY2(skin.startsWith(QByteArray(".SHE\0\3", 6)), qPrintable(QString::number(n)));
      QVERIFY(skin.size() > 100);
    }
    QVERIFY(
        ui::engine_bytes().startsWith("\x7f"
                                      "ELF"));
  }

  void first_start_writes_the_engine_and_skin_23_and_applies_it() {
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::on_window_created(folders_, engine), ui::EngineStatus::ok);
    QCOMPARE(read_file(ui::engine_file_path(folders_.engine_dir)), ui::engine_bytes());
    const QByteArray skin = read_file(ui::skin_file_path(folders_.temp_dir));
    QCOMPARE(skin, ui::skin_bytes(23));
    QCOMPARE(engine.calls(), 1);
    QCOMPARE(engine.loaded_from(), ui::engine_file_path(folders_.engine_dir));
    QCOMPARE(qApp->styleSheet(), sheet_of(skin));
  }

  // Any content counts; a loadable engine with bytes after it shows that nothing was rewritten.
  void a_later_start_leaves_an_existing_engine_alone_and_writes_the_skin_again() {
    const std::string engine_path = ui::engine_file_path(folders_.engine_dir);
    const QByteArray existing = ui::engine_bytes() + "left by an earlier start";
    QVERIFY(write_file(engine_path, existing));
    QVERIFY(write_file(ui::skin_file_path(folders_.temp_dir), "stale"));
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::on_window_created(folders_, engine), ui::EngineStatus::ok);
    QCOMPARE(read_file(engine_path), existing);
    QCOMPARE(read_file(ui::skin_file_path(folders_.temp_dir)), ui::skin_bytes(23));
  }

  void skin_numbers_select_a_skin_or_none_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("written");
    QTest::newRow("0 stands for 25") << 0 << 25;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("25") << 25 << 25;
    QTest::newRow("26") << 26 << 0;
    QTest::newRow("-1") << -1 << 0;
  }
  void skin_numbers_select_a_skin_or_none() {
    QFETCH(int, number);
    QFETCH(int, written);
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::install_skin(number, folders_.temp_dir, engine), ui::EngineStatus::ok);
    const std::string path = ui::skin_file_path(folders_.temp_dir);
    if (written == 0) {
      QVERIFY(!QFile::exists(QString::fromStdString(path)));
      QCOMPARE(engine.calls(), 0);
      QCOMPARE(qApp->styleSheet(), QString());
    } else {
      QCOMPARE(read_file(path), ui::skin_bytes(written));
      QCOMPARE(engine.calls(), 1);
      QCOMPARE(qApp->styleSheet(), sheet_of(ui::skin_bytes(written)));
    }
  }

  void temporary_folder_gets_exactly_one_separator_data() {
    QTest::addColumn<QString>("suffix");
    QTest::newRow("without separator") << QString();
    QTest::newRow("with separator") << QStringLiteral("/");
  }
  void temporary_folder_gets_exactly_one_separator() {
    QFETCH(QString, suffix);
    const std::string reported = folders_.temp_dir + suffix.toStdString();
    QCOMPARE(ui::skin_file_path(reported), folders_.temp_dir + "/" + ui::kSkinFileName);
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::install_skin(23, reported, engine), ui::EngineStatus::ok);
    QCOMPARE(read_file(folders_.temp_dir + "/" + ui::kSkinFileName), ui::skin_bytes(23));
  }

  // No temporary folder: the bare name, in the current directory (the program's folder at start-up).
  void no_temporary_folder_writes_into_the_current_directory() {
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(program_->path()));
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    const ui::EngineStatus status = ui::install_skin(23, "", engine);
    QDir::setCurrent(previous);
    QCOMPARE(status, ui::EngineStatus::ok);
    QCOMPARE(read_file(program_->path().toStdString() + "/" + ui::kSkinFileName), ui::skin_bytes(23));
  }

  // A link planted at the skin's path must not redirect the write.
  void a_symbolic_link_at_the_skin_path_is_replaced_not_followed() {
    QTemporaryDir elsewhere;
    const std::string victim = elsewhere.path().toStdString() + "/victim";
    QVERIFY(write_file(victim, "precious"));
    const std::string path = ui::skin_file_path(folders_.temp_dir);
    QCOMPARE(::symlink(victim.c_str(), path.c_str()), 0);
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::install_skin(23, folders_.temp_dir, engine), ui::EngineStatus::ok);
    QCOMPARE(read_file(victim), QByteArray("precious"));
    QVERIFY(!QFileInfo(QString::fromStdString(path)).isSymLink());
    QCOMPARE(read_file(path), ui::skin_bytes(23));
  }

  // Whatever else stands at the skin's path (a link, a pipe, something huge) is no skin: the engine
  // leaves the application as it was and returns at once.
  void the_engine_reads_only_a_plain_skin_file() {
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    const std::string real = temp_->path().toStdString() + "/real.she";
    QVERIFY(write_file(real, ui::skin_bytes(23)));
    const std::string link = temp_->path().toStdString() + "/link.she";
    QCOMPARE(::symlink(real.c_str(), link.c_str()), 0);
    const std::string pipe = temp_->path().toStdString() + "/pipe.she";
    QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = temp_->path().toStdString() + "/huge.she";
    QVERIFY(write_file(huge, ui::skin_bytes(23) + QByteArray(5 * 1024 * 1024, ' ')));
    for (const std::string& path : {link, pipe, huge}) {
      QCOMPARE(engine.attach(path, ""), ui::EngineStatus::ok);
      QVERIFY2(qApp->styleSheet().isEmpty(), path.c_str());
    }
    QCOMPARE(engine.attach(real, ""), ui::EngineStatus::ok);
    QCOMPARE(qApp->styleSheet(), sheet_of(ui::skin_bytes(23)));
  }

  // The skin dresses the boxes but keeps a selection out of sight in a box without the focus: a text box
  // draws its selection in the inactive colours while it has not the focus, and those stay white.
  void a_skinned_box_without_focus_shows_no_selection() {
    ui::MainWindow window(ui::MethodSet{});
    ui::install_engine(folders_.engine_dir);
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::install_skin(23, folders_.temp_dir, engine), ui::EngineStatus::ok);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char* name : {ui::kQuestionBox, ui::kResultBox}) {
      auto* box = control<QWidget>(&window, name);
      QVERIFY(box);
      QCOMPARE(box->palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::white));
      QVERIFY(box->palette().color(QPalette::Active, QPalette::Highlight) != QColor(Qt::white));
    }
  }

  // Also a dangling link counts as an existing engine file, so nothing is written through it.
  void a_link_at_the_engine_path_is_left_alone() {
    const std::string target = engine_->path().toStdString() + "/elsewhere.dll";
    const std::string path = ui::engine_file_path(folders_.engine_dir);
    QCOMPARE(::symlink(target.c_str(), path.c_str()), 0);
    ui::install_engine(folders_.engine_dir);
    QVERIFY(!QFile::exists(QString::fromStdString(target)));
  }

  void an_engine_in_the_program_folder_comes_first() {
    const std::string in_program = ui::engine_file_path(folders_.program_dir);
    QVERIFY(write_file(in_program, ui::engine_bytes()));
    ui::EngineLoader engine(ui::engine_candidates(folders_));
    QCOMPARE(ui::on_window_created(folders_, engine), ui::EngineStatus::ok);
    QCOMPARE(engine.loaded_from(), in_program);
  }

  void closing_the_window_ends_with_exit_code_0() {
    ui::StartupConfig config;
    config.folders = folders_;
    MethodCounter counter;
    config.methods = counter.methods();
    close_all_windows_soon(100);
    QCOMPARE(ui::run_program(config), 0);
    QCOMPARE(qApp->styleSheet(), sheet_of(ui::skin_bytes(23)));
  }

  void closing_during_a_run_ends_with_exit_code_0() {
    ui::StartupConfig config;
    config.folders = folders_;
    std::atomic<int> appended{0};
    auto run = [&](WindowOperations& window) {
      window.set_button_enabled(false);
      // Goes on until the window is gone and reads come back empty.
      do {
        window.append_result_text("a");
        ++appended;
      } while (!window.read_result_text().empty());
    };
    config.methods = {run, run};
    QTimer::singleShot(50, [] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* button = control<QPushButton>(widget, ui::kOneClickButton)) button->click();
      }
    });
    bool running_at_close = false;
    QTimer::singleShot(200, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* button = control<QPushButton>(widget, ui::kOneClickButton)) {
          running_at_close = !button->isEnabled() && ui::runs_under_way() == 1;
        }
        widget->close();
      }
    });
    QCOMPARE(ui::run_program(config), 0);
    QVERIFY(running_at_close);
    QVERIFY(appended > 0);
    QTRY_COMPARE(ui::runs_under_way(), 0);
  }

  void test_hooks_override_the_folders_and_the_search_host() {
    qputenv("LEXOMIR_ENGINE_DIR", "/nowhere/engine");
    qputenv("LEXOMIR_TEMP_DIR", "");
    qputenv("LEXOMIR_SEARCH_HOST", "127.0.0.1:8080");
    const ui::StartupConfig config = ui::config_from_system();
    qunsetenv("LEXOMIR_ENGINE_DIR");
    qunsetenv("LEXOMIR_TEMP_DIR");
    qunsetenv("LEXOMIR_SEARCH_HOST");
    QCOMPARE(config.folders.engine_dir, std::string("/nowhere/engine"));
    QCOMPARE(config.folders.temp_dir, std::string());
    QCOMPARE(config.service.host, Text("127.0.0.1:8080"));
    QCOMPARE(ui::config_from_system().service.host, Text(kDefaultSearchHost));
  }

 private:
  std::unique_ptr<QTemporaryDir> program_;
  std::unique_ptr<QTemporaryDir> engine_;
  std::unique_ptr<QTemporaryDir> temp_;
  ui::StartupFolders folders_;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
