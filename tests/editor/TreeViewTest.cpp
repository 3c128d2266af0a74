// The group tree: building groups from paths, bold marks, the context menu,
// and the export and import files.
#include <cstring>
#include <filesystem>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "editor/CVarTreeView.h"
#include "editor/EditorPrompts.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/support/FileSizeLimit.h"

namespace {

// Answers the editor's questions and remembers them.
struct PromptRecorder {
    std::vector<std::string> messages, questions;
    std::string openInitial;
    bool answer = true;
    int cancelAfter = -1;  // answer Cancel from this question on

    PromptRecorder()
    {
        Prompts().message = [this](QWidget*, const std::string& text, const std::string& title) {
            messages.push_back(title + ": " + text);
        };
        Prompts().confirm = [this](QWidget*, const std::string& text, const std::string& title) {
            questions.push_back(title + ": " + text);
            return cancelAfter < 0 || int(questions.size()) <= cancelAfter;
        };
        Prompts().openFile = [this](QWidget*, const std::string& initial) {
            openInitial = initial;
            return std::string();
        };
    }
    ~PromptRecorder() { ResetPrompts(); }
};

void Fill(CVarTreeView& tree, DemoList* list, CVar::Event* listener = nullptr)
{
    GLOBAL_VARIABLE_INFO info{};
    list->Reset();
    while (list->Next(&info)) tree.AddVar(info, kListA, listener);
    tree.UpdateChanges();
}

// One integer "p", with "root" selected.
void FillOneAtRoot(CVarTreeView& tree)
{
    DemoList* list = CreateIntList("L", {"p"});
    Fill(tree, list);
    list->Release();
    tree.setCurrentItem(tree.Root());
}

CVar* FindVar(CVarTreeView& tree, const std::string& path)
{
    const size_t bar = path.rfind('|');
    CVarGroupItem* group = bar == std::string::npos ? tree.Root() : tree.FindGroup(path.substr(0, bar));
    if (!group) return nullptr;
    for (CVar* v : group->Vars())
        if (path == v->GetName()) return v;
    return nullptr;
}

std::vector<uint8_t> ValueOf(CVar* var)
{
    void* bytes = nullptr;
    unsigned length = 0;
    var->GetValue(&bytes, &length);
    std::vector<uint8_t> out(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + length);
    std::free(bytes);
    return out;
}

template <class T>
void Set(CVar* var, const T& v)
{
    var->SetValue(&v, sizeof v);
}

std::string U32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

std::string Record(const std::string& name, const std::string& value)
{
    return U32(uint32_t(name.size() + 1)) + name + std::string(1, '\0') + U32(uint32_t(value.size())) + value;
}

// Gives every variable of the every-kind list a value other than its default.
void ChangeAll(CVarTreeView& tree)
{
    FindVar(tree, "a|b|text")->SetValue("changed", 8);
    Set(FindVar(tree, "a|b|count"), int32_t(-42));
    Set(FindVar(tree, "a|c|mode"), int32_t(2));
    Set(FindVar(tree, "a|c|ratio"), 0.75);
    Set(FindVar(tree, "a|speed"), 1.5f);
    const SPLINE2D_POINT curve[3] = {{0, 0.5, 1, 0}, {0.5, 1, 1, 0}, {1, 0, 1, -1}};
    FindVar(tree, "a|c|curve")->SetValue(curve, sizeof curve);
    const uint8_t rgb[3] = {1, 2, 3};
    FindVar(tree, "look|tint")->SetValue(rgb, 3);
    FindVar(tree, "look|props")->SetValue("\x01\x02\x00\x04", 4);
    const COLORRGBSPLINE_POINT ramp[1] = {{0.5, 0.1, 0.2, 0.3}};
    FindVar(tree, "look|ramp")->SetValue(ramp, sizeof ramp);
    Set(FindVar(tree, "top"), int32_t(9));
}

const char* const kAllPaths[] = {"a|b|text", "a|b|count", "a|c|mode", "a|c|ratio", "a|speed",
                                 "a|c|curve", "look|tint", "look|props", "look|ramp", "top"};

}  // namespace

class TreeViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseSandboxRegistry(); }

    void groupsFromPaths()
    {
        CVarTreeView tree(nullptr);
        DemoList* list = CreateIntList("L", {"a|b|x", "A|c|y", "z", "m|v", "B|v"});
        Fill(tree, list);
        list->Release();
        CVarGroupItem* root = tree.Root();
        QVERIFY(root);
        QCOMPARE(root->text(0), QString("root"));
        // Sorted case-insensitively; "a" keeps the spelling of its first path.
        QCOMPARE(root->childCount(), 3);
        QCOMPARE(root->Child(0)->Label(), std::string("a"));
        QCOMPARE(root->Child(1)->Label(), std::string("B"));
        QCOMPARE(root->Child(2)->Label(), std::string("m"));
        CVarGroupItem* a = root->Child(0);
        QCOMPARE(a->childCount(), 2);
        QCOMPARE(a->Child(0)->Label(), std::string("b"));
        QCOMPARE(a->Child(1)->Label(), std::string("c"));
        QCOMPARE(a->Child(0)->Vars().size(), size_t(1));
        QCOMPARE(std::string(a->Child(0)->Vars()[0]->GetName()), std::string("a|b|x"));
        QCOMPARE(std::string(a->Child(1)->Vars()[0]->GetName()), std::string("A|c|y"));
        QCOMPARE(root->Vars().size(), size_t(1));
        QCOMPARE(std::string(root->Vars()[0]->GetName()), std::string("z"));
        QVERIFY(a->Vars().empty());
    }

    void unknownKindsAreIgnored()
    {
        CVarTreeView tree(nullptr);
        GLOBAL_VARIABLE_INFO info{};
        info.name = "g|odd";
        info.type = 9;
        tree.AddVar(info, kListA, nullptr);
        QVERIFY(!tree.Root() || tree.Root()->childCount() == 0);
    }

    void boldMarksFollowEditsAndReset()
    {
        CVarTreeView tree(nullptr);
        DemoList* list = CreateEveryKindList("L");
        Fill(tree, list);
        list->Release();
        CVarGroupItem* a = tree.FindGroup("a");
        CVarGroupItem* b = tree.FindGroup("a|b");
        CVarGroupItem* c = tree.FindGroup("a|c");
        CVarGroupItem* look = tree.FindGroup("look");
        QVERIFY(!tree.Root()->IsBold() && !a->IsBold());

        Set(FindVar(tree, "a|b|count"), int32_t(7));
        QVERIFY(tree.Root()->IsBold() && a->IsBold() && b->IsBold());
        QVERIFY(!c->IsBold() && !look->IsBold());
        QVERIFY(b->font(0).bold());

        Set(FindVar(tree, "a|c|ratio"), 0.5);
        QVERIFY(c->IsBold());
        // Resetting b leaves a bold for c's sake.
        tree.setCurrentItem(b);
        tree.OnResetDefaults();
        QVERIFY(!b->IsBold() && a->IsBold() && c->IsBold() && tree.Root()->IsBold());
        // Resetting a clears it and its ancestors.
        tree.setCurrentItem(a);
        tree.On_Command(CVarTreeView::ID_RESET_DEFAULTS);
        QVERIFY(!a->IsBold() && !c->IsBold() && !tree.Root()->IsBold());
        QVERIFY(FindVar(tree, "a|c|ratio")->IsDefault());
    }

    void contextMenuGreysResetWithoutChanges()
    {
        CVarTreeView tree(nullptr);
        DemoList* list = CreateEveryKindList("L");
        Fill(tree, list);
        list->Release();
        QVERIFY(!tree.BuildContextMenu());  // nothing selected
        tree.setCurrentItem(tree.FindGroup("look"));
        auto menu = tree.BuildContextMenu();
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions[0]->text(), QString("Load"));
        QCOMPARE(actions[0]->data().toInt(), 10001);
        QCOMPARE(actions[1]->text(), QString("Save"));
        QCOMPARE(actions[1]->data().toInt(), 10000);
        QVERIFY(actions[2]->isSeparator());
        QCOMPARE(actions[3]->text(), QString("Reset to Defaults"));
        QCOMPARE(actions[3]->data().toInt(), 10002);
        QVERIFY(!actions[3]->isEnabled());
        QVERIFY(actions[0]->isEnabled() && actions[1]->isEnabled());
        // A change elsewhere does not enable it here; one below does.
        Set(FindVar(tree, "top"), int32_t(3));
        QVERIFY(!tree.BuildContextMenu()->actions()[3]->isEnabled());
        const uint8_t rgb[3] = {9, 9, 9};
        FindVar(tree, "look|tint")->SetValue(rgb, 3);
        QVERIFY(tree.BuildContextMenu()->actions()[3]->isEnabled());
    }

    void binaryRoundTripFromRoot()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        DemoList* list = CreateEveryKindList("L");
        Fill(tree, list);
        list->Release();
        ChangeAll(tree);
        std::map<std::string, std::vector<uint8_t>> changed;
        for (const char* p : kAllPaths) {
            QVERIFY2(!FindVar(tree, p)->IsDefault(), p);
            changed[p] = ValueOf(FindVar(tree, p));
        }
        tree.setCurrentItem(tree.Root());
        const std::string file = dir + "/all.bin";
        QVERIFY(tree.SaveToFile(file, EXPORT_BINARY));
        QVERIFY(!std::filesystem::exists(file + ".part"));
        // Full paths, in tree order: root's own variable first.
        const std::string bytes = ReadFile(file);
        QVERIFY(bytes.compare(0, 12, Record("top", std::string("\x09\0\0\0", 4)).substr(0, 12)) == 0);
        QCOMPARE(bytes.substr(0, 16), Record("top", std::string("\x09\0\0\0", 4)));

        tree.OnResetDefaults();
        for (const char* p : kAllPaths) QVERIFY2(FindVar(tree, p)->IsDefault(), p);
        tree.LoadFromFile(file);
        for (const char* p : kAllPaths) QVERIFY2(ValueOf(FindVar(tree, p)) == changed[p], p);
        QVERIFY(prompts.messages.empty() && prompts.questions.empty());
        QCOMPARE(tree.SelectedGroup(), tree.Root());
        std::filesystem::remove_all(dir);
    }

    void binaryRoundTripOfEveryKindFromSubgroups()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        for (const char* group : {"a", "a|c", "look"}) {
            CVarTreeView tree(nullptr);
            DemoList* list = CreateEveryKindList("L");
            Fill(tree, list);
            list->Release();
            ChangeAll(tree);
            std::map<std::string, std::vector<uint8_t>> changed;
            for (const char* p : kAllPaths) changed[p] = ValueOf(FindVar(tree, p));
            tree.setCurrentItem(tree.FindGroup(group));
            const std::string file = dir + "/sub.bin";
            QVERIFY(tree.SaveToFile(file, EXPORT_BINARY));
            tree.setCurrentItem(tree.Root());
            tree.OnResetDefaults();
            tree.setCurrentItem(tree.FindGroup(group));
            tree.LoadFromFile(file);
            const std::string prefix = std::string(group) + "|";
            for (const char* p : kAllPaths) {
                const bool inside = std::string(p).compare(0, prefix.size(), prefix) == 0;
                const std::vector<uint8_t> value = ValueOf(FindVar(tree, p));
                QVERIFY2(inside ? value == changed[p] : FindVar(tree, p)->IsDefault(), (prefix + p).c_str());
            }
            QVERIFY(prompts.questions.empty() && prompts.messages.empty());
        }
        std::filesystem::remove_all(dir);
    }

    void binaryRoundTripFromSubgroup()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        DemoList* list = CreateIntList("L", {"a|b|x", "A|c|y", "z"});
        Fill(tree, list);
        list->Release();
        Set(FindVar(tree, "a|b|x"), int32_t(11));
        Set(FindVar(tree, "A|c|y"), int32_t(22));
        tree.setCurrentItem(tree.FindGroup("a"));
        const std::string file = dir + "/a.bin";
        QVERIFY(tree.SaveToFile(file, EXPORT_BINARY));
        QCOMPARE(ReadFile(file), Record("b|x", std::string("\x0b\0\0\0", 4)) + Record("c|y", std::string("\x16\0\0\0", 4)));

        tree.OnResetDefaults();
        tree.LoadFromFile(file);
        QCOMPARE(ValueOf(FindVar(tree, "a|b|x")), (std::vector<uint8_t>{11, 0, 0, 0}));
        QCOMPARE(ValueOf(FindVar(tree, "A|c|y")), (std::vector<uint8_t>{22, 0, 0, 0}));
        QVERIFY(prompts.questions.empty());

        // From "root" the short names are not found: one question per record.
        tree.setCurrentItem(tree.Root());
        tree.LoadFromFile(file);
        QCOMPARE(prompts.questions.size(), size_t(2));
        QCOMPARE(prompts.questions[0], std::string("Confirm: Variable \"b|x\" not found,\n continue anyway?"));
        // Cancel stops at the first question.
        prompts.questions.clear();
        prompts.cancelAfter = 0;
        tree.LoadFromFile(file);
        QCOMPARE(prompts.questions.size(), size_t(1));
        std::filesystem::remove_all(dir);
    }

    void groupNamesMatchWhole()
    {
        PromptRecorder prompts;
        CVarTreeView tree(nullptr);
        DemoList* list = CreateIntList("L", {"abc|x"});
        Fill(tree, list);
        list->Release();
        const int32_t v = 5;
        QVERIFY(!tree.SetVar(tree.Root(), "ab|x", &v, 4));
        QVERIFY(tree.SetVar(tree.Root(), "ABC|X", &v, 4));
        QCOMPARE(ValueOf(FindVar(tree, "abc|x")), (std::vector<uint8_t>{5, 0, 0, 0}));
    }

    void textFormatsByteForByte()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        DemoList* list = CreateIntList("L", {"z", "g|x", "g|h|y", "k|w"});
        Fill(tree, list);
        list->Release();
        Set(FindVar(tree, "g|x"), int32_t(7));

        tree.setCurrentItem(tree.Root());
        QVERIFY(tree.SaveToFile(dir + "/full.txt", EXPORT_TEXT));
        QCOMPARE(ReadFile(dir + "/full.txt"), std::string("Create \"root\"\r\n"
                                                          "  Add \"z\", \"0\"\r\n"
                                                          "  Create \"g\"\r\n"
                                                          "*   Add \"g|x\", \"7\"\r\n"
                                                          "    Create \"h\"\r\n"
                                                          "      Add \"g|h|y\", \"0\"\r\n"
                                                          "  Create \"k\"\r\n"
                                                          "    Add \"k|w\", \"0\"\r\n"));
        QVERIFY(tree.SaveToFile(dir + "/changes.txt", EXPORT_TEXT_CHANGES));
        QCOMPARE(ReadFile(dir + "/changes.txt"), std::string("Create \"root\"\r\n"
                                                             "  Create \"g\"\r\n"
                                                             "    Add \"g|x\", \"7\"\r\n"));
        tree.setCurrentItem(tree.FindGroup("g"));
        QVERIFY(tree.SaveToFile(dir + "/g.txt", EXPORT_TEXT));
        QCOMPARE(ReadFile(dir + "/g.txt"), std::string("Create \"g\"\r\n"
                                                       "* Add \"g|x\", \"7\"\r\n"
                                                       "  Create \"h\"\r\n"
                                                       "    Add \"g|h|y\", \"0\"\r\n"));
        // Nothing changed below k: a message and no file.
        tree.setCurrentItem(tree.FindGroup("k"));
        QVERIFY(!tree.SaveToFile(dir + "/none.txt", EXPORT_TEXT_CHANGES));
        QCOMPARE(prompts.messages, std::vector<std::string>{"Message: No changes."});
        QVERIFY(!std::filesystem::exists(dir + "/none.txt"));
        std::filesystem::remove_all(dir);
    }

    void damagedImportsStopWithAMessage()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        DemoList* list = CreateIntList("L", {"p", "q", "r"});
        Fill(tree, list);
        list->Release();
        tree.setCurrentItem(tree.Root());
        const std::string good = Record("p", std::string("\x01\0\0\0", 4)) + Record("q", std::string("\x02\0\0\0", 4));

        struct Case {
            const char* what;
            std::string tail;
        };
        const Case cases[] = {
            {"cut inside the value", Record("r", std::string("\x03\0\0\0", 4)).substr(0, 12)},
            {"cut inside the length", std::string("\x02\0", 2)},
            {"value longer than the file", U32(2) + std::string("r\0", 2) + U32(0xFFFFFFF0u) + "abcd"},
            {"name longer than the file", U32(0x7FFFFFFFu) + "r"},
            {"empty name", U32(0) + U32(4) + "abcd"},
        };
        for (const Case& c : cases) {
            prompts.messages.clear();
            tree.SetDefault(tree.Root());
            const std::string file = dir + "/damaged.bin";
            WriteFile(file, good + c.tail);
            tree.LoadFromFile(file);
            QVERIFY2(prompts.messages.size() == 1, c.what);
            QVERIFY2(prompts.messages[0].find("Record 3") != std::string::npos, c.what);
            QVERIFY2(prompts.messages[0].find(file) != std::string::npos, c.what);
            // The records before the damaged one are kept.
            QVERIFY2(ValueOf(FindVar(tree, "p")) == (std::vector<uint8_t>{1, 0, 0, 0}), c.what);
            QVERIFY2(ValueOf(FindVar(tree, "q")) == (std::vector<uint8_t>{2, 0, 0, 0}), c.what);
            QVERIFY2(FindVar(tree, "r")->IsDefault(), c.what);
        }
        prompts.messages.clear();
        tree.LoadFromFile(dir + "/missing.bin");
        QCOMPARE(prompts.messages, std::vector<std::string>{"Error: Failed to open file."});
        std::filesystem::remove_all(dir);
    }

    void exportFailuresAreReported()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        DemoList* list = CreateEveryKindList("L");
        Fill(tree, list);
        list->Release();
        tree.setCurrentItem(tree.Root());
        QVERIFY(!tree.SaveToFile(dir + "/no/such/folder/x.bin", EXPORT_BINARY));
        QCOMPARE(prompts.messages, std::vector<std::string>{"Error: Failed to open file."});

        // A write that fails half way (file size limit as on a full disk)
        // is reported and leaves the earlier file as it was.
        const std::string file = dir + "/keep.bin";
        WriteFile(file, "old");
        prompts.messages.clear();
        bool saved;
        {
            const FileSizeLimit limit(40);
            QVERIFY(limit.Active());
            saved = tree.SaveToFile(file, EXPORT_TEXT);
        }
        QVERIFY(!saved);
        QCOMPARE(prompts.messages.size(), size_t(1));
        QVERIFY(prompts.messages[0].find("Failed to write file") != std::string::npos);
        QCOMPARE(ReadFile(file), std::string("old"));
        QVERIFY(!std::filesystem::exists(file + ".part"));

        // A link planted under a name the export might write first leaves
        // what it leads to alone.
        const std::string victim = dir + "/victim";
        WriteFile(victim, "victim");
        std::filesystem::create_symlink(victim, dir + "/planted.txt.part");
        QVERIFY(tree.SaveToFile(dir + "/planted.txt", EXPORT_TEXT));
        QCOMPARE(ReadFile(victim), std::string("victim"));
        std::filesystem::remove_all(dir);
    }

    void qtDialogsNameTheFileByFormatAndShowErrorsAsErrors()
    {
        // The export dialog and the message box themselves, driven from the keyboard.
        ResetPrompts();
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        FillOneAtRoot(tree);
        QString chosen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (!types || !name) return dialog->reject();
            dialog->setDirectory(QString::fromStdString(dir));
            QTest::keyClick(types, Qt::Key_Down);
            chosen = types->currentText();
            QTest::keyClicks(name, "values");
            QTest::keyClick(name, Qt::Key_Return);
        });
        tree.OnSave();
        QCOMPARE(chosen, QString("Text files (*.txt)"));
        QCOMPARE(ReadFile(dir + "/values.txt").substr(0, 15), std::string("Create \"root\"\r\n"));
        QVERIFY(!std::filesystem::exists(dir + "/values.bin"));

        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                icon = box->icon();
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        tree.LoadFromFile(dir + "/missing.bin");
        QCOMPARE(title, QString("Error"));
        QCOMPARE(icon, QMessageBox::Critical);
        std::filesystem::remove_all(dir);
    }

    void lastSavedPathOpensTheNextLoad()
    {
        PromptRecorder prompts;
        const std::string dir = MakeTempFolder();
        CVarTreeView tree(nullptr);
        FillOneAtRoot(tree);
        QVERIFY(tree.SaveToFile(dir + "/last.bin", EXPORT_BINARY));
        tree.OnLoad();
        QCOMPARE(prompts.openInitial, dir + "/last.bin");
        std::filesystem::remove_all(dir);
    }
};

QTEST_MAIN(TreeViewTest)
#include "TreeViewTest.moc"
