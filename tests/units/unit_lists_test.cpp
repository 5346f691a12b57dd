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
    void eachSystemFillsAndRebuildsItsLists_data() {
        QTest::addColumn<UnitSystem>("system");
        QTest::addColumn<QStringList>("weightItems");
        QTest::addColumn<QStringList>("heightItems");
        // clang-format off
        QTest::newRow("Imperial") << UnitSystem::Imperial << QStringList{"Pounds"} << QStringList{"Feet", "Inches"};
        QTest::newRow("Metric") << UnitSystem::Metric << QStringList{"Kg"} << QStringList{"Meters"};
        // clang-format on
    }

    // Filled into the empty boxes, then rebuilt over whatever the user left
    // there, the lists are the system's, each box showing its first item.
    void eachSystemFillsAndRebuildsItsLists() {
        QFETCH(UnitSystem, system);
        QFETCH(QStringList, weightItems);
        QFETCH(QStringList, heightItems);
        const UnitLists& lists = unitListsFor(system);
        QCOMPARE(toQt(lists.weightItems), weightItems);
        QCOMPARE(toQt(lists.heightItems), heightItems);
        RecordingReporter reporter;
        qt::Form form(form1Design(), reporter);
        QComboBox& weight = comboOf(form, kBoxes.weight);
        QComboBox& height = comboOf(form, kBoxes.height);
        fillUnitLists(system, form, kBoxes);
        for (int round = 0; round < 3; ++round) {
            if (round > 0) {  // the row's name is the Method box's text
                makeDirty(weight);
                makeDirty(height);
                rebuildUnitLists(QTest::currentDataTag(), form, kBoxes);
            }
            QCOMPARE(items(weight), weightItems);
            QCOMPARE(weight.currentText(), weightItems.first());
            QCOMPARE(items(height), heightItems);
            QCOMPARE(height.currentText(), heightItems.first());
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
