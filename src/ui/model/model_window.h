#pragma once
// The model editor: the sample type, the layer table between "air" and the substrate, the
// multilayer stack and the settings of a profile function. The window shows the SampleModel
// and turns every edit into a call on the core's editing rules.

#include <array>

#include <QWidget>

#include "database/material_lists.h"
#include "database/material_record.h"
#include "model/calc_settings.h"
#include "model/editor_state.h"
#include "model/sample_model.h"
#include "ui/widgets/numeric_edit.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quorrel {

class GridView;
class Prompts;
class TextGridModel;

class TfrmModel : public QWidget {
  Q_OBJECT

 public:
  TfrmModel(SampleModel& model, EditorState& editor, const CalcSettings& settings,
            Prompts& prompts, QWidget* parent = nullptr);
  ~TfrmModel() override;

  //! Shows the model as it is now (after a file was read, say).
  void refresh();
  //! The parameter boxes after the function dialog was confirmed or a model was read: the
  //! first boxes, as many as the function has parameters, labelled with their names.
  void showFunctionParameters();
  //! The "&Elements" and "&Compounds" submenus of the popup menu.
  void setMaterialLists(const MaterialLists& lists);
  //! The editor window lost the activation: the stack's rows are numbered again.
  void windowDeactivated();
  //! Marks the cell that a calculation could not read (red); none unmarks.
  void markUnreadableCell(std::optional<EditorCell> cell);
  //! The width of the sample type panel, which the window arrangement leaves room for.
  int topPanelWidth() const;
  //! Shows the grids' angle column theta(mag) while spin flip is on in the settings.
  void followSpinFlip();
  //! The window's fixed width, wider by the angle column while that is shown.
  int fixedWidth() const;

  //! The window's fixed width without the angle column.
  static constexpr int kWidth = 570;
  static constexpr int kAngleColumnWidth = 70;

 signals:
  //! The user changed the model; `what` names the change where the window knows it better
  //! than a comparison of the model does ("deleting a row"), and is empty otherwise.
  void modelEdited(const QString& what);
  //! A cell's editor closed: the next keystroke begins another edit.
  void typingEnded();
  //! "edit function..." was pressed.
  void editFunctionRequested();
  //! "I want to test my function" found the function sound: both curves are to be computed.
  void testFunctionRequested();
  //! A material of the popup menu was chosen for the current row of `grid`.
  void materialChosen(quorrel::EditorGrid grid, quorrel::MaterialKind kind, int position);
  void statusText(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTopPanel();
  QWidget* buildIndependentPanel();
  QWidget* buildFunctionPanel();
  QWidget* buildMultilayerPanel();
  void buildPopupMenu();
  void arrangePanels();
  void chooseType(SampleType type);
  void countChanged(void (*rule)(SampleModel&, int), int value);
  void edited(const char* what = "");
  void focusChanged(QWidget* old, QWidget* now);
  void openPopup(EditorGrid grid, QPoint globalPos);
  void testFunction();

  SampleModel& model_;
  EditorState& editor_;
  const CalcSettings& settings_;
  Prompts& prompts_;
  bool refreshing_ = false;
  EditorGrid popupGrid_ = EditorGrid::Base;

  QGroupBox* TopPanel;
  QRadioButton* RBIndep;
  QRadioButton* RBFunction;
  QRadioButton* RBMulti;
  QRadioButton* RBSymFilm;
  QFrame* pnlIndep;
  QSpinBox* edtLayers;
  QLabel* lblSymmetric;
  QCheckBox* cbIdenticalSigmas;
  QFrame* pnlFunction;
  QSpinBox* edtFunctionLayer;
  TCardinalEdit* edtLayerThickness;
  QSpinBox* edtNumCalcLayers;
  QPushButton* btnEditFunction;
  QPushButton* btnTestFunction;
  std::array<QLabel*, 5> parameterLabels_;  // lblA .. lblE
  std::array<TRealEdit*, 5> parameterEdits_;  // edtA .. edtE
  QFrame* pnlMulti;
  QSpinBox* edtStackedLayers;
  QSpinBox* edtRepts;
  QSpinBox* edtInsertLayer;
  TextGridModel* baseModel_;
  TextGridModel* mlModel_;
  GridView* BaseGrid;
  GridView* MLGrid;
  QMenu* PopupMenu1;
  QAction* popupTitle;
  QMenu* Elements1;
  QMenu* Compounds1;
};

}  // namespace quorrel
