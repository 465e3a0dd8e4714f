// The room, zone, zone-luminaire and object-count dialogs: each check of OK in order (the
// message, and the dialog kept open), the rules that tie fields together, and a picture of each.

#include "base/TextUtils.h"
#include "model/LENIFloor.h"
#include "products/LumSysDataBase.h"
#include "tables/BuildingTypeData.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/LumCntDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/ZoneObjectsDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

class RoomZoneDialogsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        Frame();
        const Polygon square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
        CLENIRoom office, store;
        office.InitFromPolygon("Office", square, 3.0);
        office.SetRoomType(CBuildingTypeData::GetRoomTypeString(0, 0));
        CLENIZone z1, z2;
        z1.InitFromPolygon("Z1", {{0, 0}, {2, 0}, {2, 4}, {0, 4}});
        z2.InitFromPolygon("Z2", {{2, 0}, {4, 0}, {4, 4}, {2, 4}});
        office.AddZone(z1);
        office.AddZone(z2);
        store.InitFromPolygon("Store", {{5, 0}, {8, 0}, {8, 4}, {5, 4}}, 3.0);
        floor.AddRoom(office);
        floor.AddRoom(store);
    }
    const CLENIRoom& Office() const { return floor.GetRooms()[0]; }
    // Presses OK; the text of the one message it showed, "" when it showed none.
    std::string PressOk(QDialog& dialog) {
        boxes.boxes.clear();
        dialog.accept();
        accepted = dialog.result() == QDialog::Accepted;
        return boxes.boxes.empty() ? std::string() : boxes.boxes.back().text;
    }
    void Shoot(QDialog& dialog, const std::string& name) {
        dialog.show();
        QApplication::processEvents();
        SaveScreenshot(dialog, "dialog-" + name);
        dialog.hide();
    }

    CLENIFloor floor{"Ground", 3.0};
    bool accepted = false;
};

TEST_F(RoomZoneDialogsTest, RoomPropertiesChecksItsFieldsInOrder) {
    using Edit = std::function<void(CRoomPropsDlg&)>;
    struct Case {
        const char* what;
        Edit edit;
        const char* message; // "" : accepted
    };
    const Case cases[] = {
        {"blank name", [](CRoomPropsDlg& d) { d.GetNameField()->setText("   "); },
         "Please input a room name"},
        {"no room type", [](CRoomPropsDlg& d) { d.GetRoomTypeList()->setCurrentIndex(-1); },
         "Please select a room type"},
        {"name of another room", [](CRoomPropsDlg& d) { d.GetNameField()->setText("store"); },
         "A room called <store> already exists\non the floor <Ground>"},
        {"own name in other letters", [](CRoomPropsDlg& d) { d.GetNameField()->setText("OFFICE"); }, ""},
        {"workplane 2.001", [](CRoomPropsDlg& d) { d.GetWorkplaneField()->setText("2.001"); },
         "Work surface height should be between 0.000 annd 2.000 inclusive"},
        {"workplane 2", [](CRoomPropsDlg& d) { d.GetWorkplaneField()->setText("2"); }, ""},
        {"MF 1.01", [](CRoomPropsDlg& d) { d.GetMfField()->setText("1.01"); },
         "Maintenance factor should be between 0.000 and 1.000"},
        {"user Dcaj 101",
         [](CRoomPropsDlg& d) {
             d.GetDcajMethodList()->setCurrentText("User");
             d.GetUserDcajField()->setText("101");
         },
         "User Dcaj should be between 0 % and 100 %"},
        {"calculated Dcaj ignores the field",
         [](CRoomPropsDlg& d) {
             d.GetDcajMethodList()->setCurrentText("Calculated");
             d.GetUserDcajField()->setText("101");
         },
         ""},
        {"td -1", [](CRoomPropsDlg& d) { d.GetTdField()->setText("-1"); },
         "Daylight hours must be 0 or more"},
        {"tn -1", [](CRoomPropsDlg& d) { d.GetTnField()->setText("-1"); },
         "Daylight absence hours must be 0 or more"},
        {"td + tn 8761",
         [](CRoomPropsDlg& d) {
             d.GetTdField()->setText("4381");
             d.GetTnField()->setText("4380");
         },
         "tn + td = 8761. There are only\n8760 hours per year"},
        {"td + tn 8760",
         [](CRoomPropsDlg& d) {
             d.GetTdField()->setText("4380");
             d.GetTnField()->setText("4380");
         },
         ""},
    };
    for (const Case& c : cases) {
        CRoomPropsDlg dialog(Office(), &floor, true, "Offices");
        c.edit(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
        EXPECT_EQ(accepted, *c.message == '\0') << c.what;
    }
    CRoomPropsDlg dialog(Office(), &floor, true, "Offices");
    dialog.GetNameField()->setText(" Office 2 ");
    dialog.GetDcajMethodList()->setCurrentText("User");
    dialog.GetUserDcajField()->setText("2.5 %");
    dialog.GetShadingList()->setCurrentIndex(2);
    ASSERT_EQ(PressOk(dialog), "");
    EXPECT_EQ(dialog.GetRoom().GetName(), "Office 2");
    EXPECT_EQ(dialog.GetRoom().GetDcajSource(), DCAJ_USER);
    EXPECT_DOUBLE_EQ(dialog.GetRoom().GetUserDcaj(), 2.5);
    EXPECT_EQ(dialog.GetRoom().GetShadingType(), SHADING_AUTO_GLARE_PROTECTION);
    Shoot(dialog, "room-properties");
}

TEST_F(RoomZoneDialogsTest, ANewRoomTakesTheBuildingTypesDefaultAndAnotherTypeRewritesItsHours) {
    const auto& types = CBuildingTypeData::GetBuildingTypes();
    ASSERT_GE(types.size(), 2u);
    CLENIRoom room;
    room.InitFromPolygon("New", {{0, 0}, {2, 0}, {2, 2}}, 3.0);
    CRoomPropsDlg dialog(room, &floor, false, types[0].m_csName);
    EXPECT_EQ(dialog.GetRoomTypeList()->currentText().toStdString(),
              CBuildingTypeData::GetFirstRoomTypeOfBuildingType(types[0].m_csName));
    EXPECT_EQ(dialog.GetSummary()->text().toStdString(),
              "Area=2.0 m\u00b2 (bounding box 2.0m x 2.0m) height = 3.0m  Average Em=0.0lx");
    dialog.GetRoomTypeList()->setCurrentText(
        QString::fromStdString(CBuildingTypeData::GetRoomTypeString(1, 0)));
    EXPECT_EQ(dialog.GetTdField()->text().toInt(), types[1].m_iTd);
    EXPECT_EQ(dialog.GetTnField()->text().toInt(), types[1].m_iTn);
}

TEST_F(RoomZoneDialogsTest, RoomTypesComeGroupedWithTheProjectsBuildingTypeFirst) {
    const auto& types = CBuildingTypeData::GetBuildingTypes();
    ASSERT_GE(types.size(), 2u);
    // The office is of a type of the first building type; the project is of the second.
    CRoomPropsDlg dialog(Office(), &floor, true, types[1].m_csName);
    QComboBox* list = dialog.GetRoomTypeList();
    EXPECT_EQ(list->currentText().toStdString(), Office().GetRoomType());
    std::vector<std::string> headings;
    std::string group;
    int typeCount = 0;
    for (int i = 0; i < list->count(); ++i) {
        const std::string text = list->itemText(i).toStdString();
        const bool selectable = list->model()->flags(list->model()->index(i, 0)) & Qt::ItemIsSelectable;
        if (text.empty() || text[0] != '[') {
            EXPECT_FALSE(selectable) << text;
            headings.push_back(text);
            group = text.substr(0, text.find(" (this project)"));
            continue;
        }
        EXPECT_TRUE(selectable) << text;
        EXPECT_EQ(text.compare(0, group.size() + 2, "[" + group + "]"), 0) << text << " under " << group;
        ++typeCount;
    }
    std::vector<std::string> all;
    CBuildingTypeData::GetAllRoomTypeStrings(all);
    EXPECT_EQ(typeCount, static_cast<int>(all.size()));
    ASSERT_GE(headings.size(), 2u);
    EXPECT_EQ(headings[0], types[1].m_csName + " (this project)");
    EXPECT_EQ(headings[1], types[0].m_csName);
}

TEST_F(RoomZoneDialogsTest, AnExistingRoomsNewTypeOffersItsDefaultsNamingWhatWouldChange) {
    const auto& types = CBuildingTypeData::GetBuildingTypes();
    const std::string newType = CBuildingTypeData::GetRoomTypeString(1, 0);
    const double fa = CBuildingTypeData::GetFaFromRoomTypeString(newType);
    CLENIRoom room = Office();
    room.SetTd(1234);
    room.SetTn(567);
    for (CLENIZone zone : room.GetZones()) {
        zone.SetFa(0.125);
        room.ReplaceZone(zone);
    }
    ASSERT_NE(types[1].m_iTd, 1234);
    ASSERT_NE(fa, 0.125);
    const std::string question = StrPrintf(
        "The room type %s has its own defaults.\nCarry them into this room and its zones?\ntd: 1234 h -> %d h"
        "\ntn: 567 h -> %d h\nFa of zone Z1: 0.12 -> %.2f\nFa of zone Z2: 0.12 -> %.2f",
        newType.c_str(), types[1].m_iTd, types[1].m_iTn, fa, fa);
    for (int answer : {IDNO, IDYES}) {
        const bool carry = answer == IDYES;
        CRoomPropsDlg dialog(room, &floor, true, "Offices");
        boxes.boxes.clear();
        boxes.answers = {answer};
        dialog.GetRoomTypeList()->setCurrentText(QString::fromStdString(newType));
        ASSERT_EQ(boxes.boxes.size(), 1u) << BoxTexts();
        EXPECT_EQ(boxes.boxes[0].text, question);
        EXPECT_EQ(PressOk(dialog), "");
        const CLENIRoom& taken = dialog.GetRoom();
        EXPECT_EQ(taken.GetRoomType(), newType);
        EXPECT_EQ(taken.GetTd(), carry ? types[1].m_iTd : 1234) << answer;
        EXPECT_EQ(taken.GetTn(), carry ? types[1].m_iTn : 567) << answer;
        for (const CLENIZone& zone : taken.GetZones())
            EXPECT_EQ(zone.GetFa(), carry ? fa : 0.125) << zone.GetName() << answer;
    }
}

TEST_F(RoomZoneDialogsTest, ZonePropertiesChecksItsFieldsInOrder) {
    using Edit = std::function<void(CZonePropsDlg&)>;
    struct Case {
        const char* what;
        Edit edit;
        const char* message;
    };
    const Case cases[] = {
        {"CIC and CLO",
         [](CZonePropsDlg& d) {
             d.GetCicBox()->setChecked(true);
             d.GetCloBox()->setChecked(true);
         },
         "CLO and CIC cannot be enabled at the same time"},
        {"blank name", [](CZonePropsDlg& d) { d.GetNameField()->setText(" "); }, "Please input a zone name"},
        {"name of another zone", [](CZonePropsDlg& d) { d.GetNameField()->setText("z2"); },
         "A zone called <z2> already exists\nin the room <Office>"},
        {"Fcc 1.5",
         [](CZonePropsDlg& d) {
             d.GetCicBox()->setChecked(true);
             d.GetFccField()->setText("1.5");
         },
         "Fcc (efficiency factor of constant illumination control or\nconstant illuminance factor) must be "
         "between 0.0 "
         "and 1.0\nIf you don't know Fcc, then set Fcc=1.0."},
        {"Fa 1.2",
         [](CZonePropsDlg& d) {
             d.GetOccupancyList()->setCurrentText(CZonePropsDlg::kCalcFromFa);
             d.GetFaField()->setText("1.2");
         },
         "Absence factor should be between 0 and 1 inclusive"},
        {"overdesign below the illuminance",
         [](CZonePropsDlg& d) {
             d.GetLuxList()->setCurrentText("500");
             d.GetCloBox()->setChecked(true);
             d.GetOverdesignField()->setText("499");
         },
         "Overdesign lux should be equal to or greater than standard lx."},
        {"overdesign equal to the illuminance",
         [](CZonePropsDlg& d) {
             d.GetLuxList()->setCurrentText("500");
             d.GetCloBox()->setChecked(true);
             d.GetOverdesignField()->setText("500");
         },
         ""},
    };
    for (const Case& c : cases) {
        CZonePropsDlg dialog(Office().GetZones()[0], &Office(), true);
        c.edit(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
        EXPECT_EQ(accepted, *c.message == '\0') << c.what;
    }
    CZonePropsDlg dialog(Office().GetZones()[0], &Office(), true);
    dialog.GetLuxList()->setCurrentText("300");
    dialog.GetTechniqueList()->setCurrentIndex(3);
    dialog.GetOccupancyList()->setCurrentText(CZonePropsDlg::kCalcFromFa);
    dialog.GetFaField()->setText("0.4");
    ASSERT_EQ(PressOk(dialog), "");
    EXPECT_DOUBLE_EQ(dialog.GetZone().GetZoneIlluminance(), 300.0);
    EXPECT_EQ(dialog.GetZone().GetControlTechnique(), "Automatic Daylight Responsive Off");
    EXPECT_DOUBLE_EQ(dialog.GetZone().GetFa(), 0.4);
    EXPECT_EQ(dialog.GetZone().GetFoMode(), FOMODE_FROM_FA);
}

TEST_F(RoomZoneDialogsTest, ZonePropertiesShowsTheFieldsThatApplyToItsControls) {
    CZonePropsDlg dialog(Office().GetZones()[0], &Office(), true);
    dialog.GetOccupancyList()->setCurrentText(CZonePropsDlg::kAlwaysOccupied);
    EXPECT_EQ(dialog.GetFcNote()->text().toStdString(), "Fc=1.0");
    EXPECT_FALSE(dialog.GetOverdesignField()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.GetFccField()->isEnabled());
    EXPECT_FALSE(dialog.GetFaField()->isEnabled());
    dialog.GetCloBox()->click();
    EXPECT_EQ(dialog.GetFcNote()->text().toStdString(), "Fc calculated from (1+MF)/2");
    EXPECT_TRUE(dialog.GetOverdesignField()->isVisibleTo(&dialog));
    boxes.boxes.clear();
    dialog.GetCicBox()->click(); // both ticked: said at once
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "CLO and CIC cannot be enabled at the same time");
    EXPECT_EQ(dialog.GetFcNote()->text().toStdString(), "Fc calculated from MF and Fcc");
    EXPECT_TRUE(dialog.GetFccField()->isEnabled());
    dialog.GetOccupancyList()->setCurrentText(CZonePropsDlg::kCalcFromFa);
    EXPECT_TRUE(dialog.GetFaField()->isEnabled());
    Shoot(dialog, "zone-properties");
}

TEST_F(RoomZoneDialogsTest, ZoneLuminairesChangesCountsAndRemovesEntries) {
    CLumTypeData product;
    product.SetRefId("L36");
    product.SetDesc("Panel");
    product.SetMaxPow(36.0);
    CLumSysDataBase::Global().AddLumData(product);
    CZoneObjList list;
    list.AddLuminaire("L36");
    list.AddLuminaire("X9"); // not in any database: a row without description
    CZoneObjectsDlg dialog(list, &Frame().GetDocument(), false);
    QTreeWidget* rows = dialog.GetListControl();
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(2).toStdString(), "Panel 36.00W Luminaire");
    EXPECT_EQ(rows->topLevelItem(1)->text(2).toStdString(), "");
    EXPECT_EQ(dialog.GetAddButton()->text().toStdString(), "Add object to AND...");
    Shoot(dialog, "zone-luminaires");

    script.Next<CLumCntDlg>([](CLumCntDlg& d) {
        EXPECT_EQ(d.GetCountField()->text().toStdString(), "1");
        d.GetCountField()->setText("7");
        d.accept();
    });
    dialog.OnChangeCount(0);
    EXPECT_EQ(rows->topLevelItem(0)->text(1).toStdString(), "7");
    script.Next<CLumCntDlg>([](CLumCntDlg& d) {
        d.GetCountField()->setText("0");
        d.accept();
    });
    dialog.OnChangeCount(1); // 0 takes the entry off the list
    ASSERT_EQ(rows->topLevelItemCount(), 1);

    // Del asks, and No keeps the entry; Backspace and Yes removes it.
    rows->setFocus();
    rows->setCurrentItem(rows->topLevelItem(0));
    boxes.answers.push_back(IDNO);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(rows, &del);
    EXPECT_EQ(boxes.boxes.back().text, "Remove <L36> from the zone?");
    EXPECT_EQ(rows->topLevelItemCount(), 1);
    boxes.answers.push_back(IDYES);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(rows, &backspace);
    EXPECT_EQ(rows->topLevelItemCount(), 0);
    ASSERT_EQ(PressOk(dialog), "");
    EXPECT_EQ(dialog.GetList().GetCount(), 0);

    CZoneObjectsDlg ad(list, &Frame().GetDocument(), true);
    EXPECT_EQ(ad.windowTitle().toStdString(), "Products in zone, AD (Area Daylight, near window)");
    EXPECT_EQ(ad.GetHint()->text().toStdString(), "Double click on a product to change its count in the AD "
                                                  "area. Use DEL key or backspace to remove it.");
    CLumCntDlg count(3);
    Shoot(count, "change-object-count");
}

} // namespace
