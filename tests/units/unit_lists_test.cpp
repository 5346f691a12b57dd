// The unit lists as data and as applied to the real unit boxes of the window.
#include <QComboBox>
#include <stdexcept>

#include "qt_test_main.h"
#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/form.h"
#include "ui/form1.h"
#include "units/unit_lists.h"

using namespace parvolin;

Q_DECLARE_METATYPE(parvolin::UnitSystem)

namespace {

QStringList items(const QComboBox& box) {
    QStringList list;
    for (int i = 0; i < box.count(); ++i) list << box.itemText(i);
    return list;
}

QStringList toQt(const std::vector<std::string_view>& list) {
    QStringList result;
    for (std::string_view item : list)
        result << QString::fromUtf8(item.data(), qsizetype(item.size()));
    return result;
}

const UnitBoxes kBoxes{form1::kWeightUnitBox, form1::kHeightUnitBox};

QComboBox& comboOf(const qt::Form& form, std::string_view name) {
    return *form.findChild<QComboBox*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void makeDirty(QComboBox& box) {
    box.addItems({"x", "y", "z"});
    box.setEditText(QStringLiteral("typed by the user"));
}

}  // namespace

class UnitListsTest : public QObject {
    Q_OBJECT

private slots:
    void listsOfEachSystem_data() {
        QTest::addColumn<UnitSystem>("system");
        QTest::addColumn<QStringList>("weightItems");
        QTest::addColumn<QString>("weightText");
        QTest::addColumn<QStringList>("heightItems");
        QTest::addColumn<QString>("heightText");
        // clang-format off
        QTest::newRow("Imperial") << UnitSystem::Imperial << QStringList{"Pounds"} << "Pounds"
                                  << QStringList{"Feet", "Inches"} << "Feet";
        QTest::newRow("Metric") << UnitSystem::Metric << QStringList{"Kg"} << "Kg"
                                << QStringList{"Meters"} << "Meters";
        // clang-format on
    }

    void listsOfEachSystem() {
        QFETCH(UnitSystem, system);
        QFETCH(QStringList, weightItems);
        QFETCH(QString, weightText);
        QFETCH(QStringList, heightItems);
        QFETCH(QString, heightText);

        const UnitLists& lists = unitListsFor(system);
        QCOMPARE(toQt(lists.weightItems), weightItems);
        QCOMPARE(toQt(lists.heightItems), heightItems);

        RecordingReporter reporter;
        qt::Form form(form1Design(), reporter);
        fillUnitLists(system, form, kBoxes);
        const QComboBox& weight = comboOf(form, kBoxes.weight);
        const QComboBox& height = comboOf(form, kBoxes.height);
        QCOMPARE(items(weight), weightItems);
        QCOMPARE(weight.currentText(), weightText);
        QCOMPARE(items(height), heightItems);
        QCOMPARE(height.currentText(), heightText);
    }

    void rebuildReplacesWhateverWasThere_data() {
        QTest::addColumn<QString>("methodText");
        QTest::addColumn<QStringList>("weightItems");
        QTest::addColumn<QStringList>("heightItems");
        QTest::addColumn<QString>("heightText");
        // clang-format off
        QTest::newRow("Imperial") << "Imperial" << QStringList{"Pounds"} << QStringList{"Feet", "Inches"} << "Feet";
        QTest::newRow("Metric") << "Metric" << QStringList{"Kg"} << QStringList{"Meters"} << "Meters";
        // clang-format on
    }

    void rebuildReplacesWhateverWasThere() {
        QFETCH(QString, methodText);
        QFETCH(QStringList, weightItems);
        QFETCH(QStringList, heightItems);
        QFETCH(QString, heightText);
        RecordingReporter reporter;
        qt::Form form(form1Design(), reporter);
        QComboBox& weight = comboOf(form, kBoxes.weight);
        QComboBox& height = comboOf(form, kBoxes.height);
        for (int round = 0; round < 3; ++round) {
            makeDirty(weight);
            makeDirty(height);
            rebuildUnitLists(methodText.toStdString(), form, kBoxes);
            QCOMPARE(items(weight), weightItems);
            QCOMPARE(weight.currentText(), weightItems.first());
            QCOMPARE(items(height), heightItems);
            QCOMPARE(height.currentText(), heightText);
        }
    }

    void listItemIndexes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("after");  // empty: the call throws
        // clang-format off
        QTest::newRow("replace the first") << 0 << QStringList{"new", "b"};
        QTest::newRow("replace the last") << 1 << QStringList{"a", "new"};
        QTest::newRow("count appends") << 2 << QStringList{"a", "b", "new"};
        QTest::newRow("past the count") << 3 << QStringList{};
        QTest::newRow("negative") << -1 << QStringList{};
        // clang-format on
    }

    void listItemIndexes() {
        QFETCH(int, index);
        QFETCH(QStringList, after);
        QComboBox box;
        box.addItems({"a", "b"});
        if (after.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, qt::setListItem(box, index, "new"));
            QCOMPARE(items(box), QStringList({"a", "b"}));
        } else {
            qt::setListItem(box, index, "new");
            QCOMPARE(items(box), after);
        }
    }
};

PARVOLIN_QTEST_MAIN(UnitListsTest)
#include "unit_lists_test.moc"
