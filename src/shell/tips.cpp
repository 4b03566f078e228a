#include "shell/tips.h"

namespace quorrel {

const std::array<std::string_view, kTipCount> kTips = {
    "that you can select a region of your dataset for the fitting procedure? This is done by "
    "pressing [Ctrl]+left mouse button for the left border and [Ctrl]+right mouse button for "
    "the right border in the reflectivity window",
    "that you can read out the mouse pointer coordinates from the graphs in the main window's "
    "statusbar?",
    "that you can move rows of data within the grids of the model window? This is done by left "
    "clicking on the first column in the respective grid and dragging the row to the desired "
    "position.",
    "that you can copy the calculated data from the plot and profile window into the Windows "
    "clipboard by selecting Edit-copy data?",
    "that you can copy and paste whole lines of the model window by right-clicking on the first "
    "column of the respective line?",
    "that fitting more than just one parameter optimizes your fit to a more global minimum?",
    "that you can zoom into the xy diagrams by pressing [Shift]+left mouse button and dragging "
    "the mouse? To redraw the graph with its initial settings simply hold down the shift key and "
    "click the left mouse button.",
    "that in some rare occasions where calculations got lost and you will be prompted with a "
    "messagebox 'Illegal floating point...' you can still carry on with your work just by "
    "ignoring the 'busy'-mouse pointer?",
    "that you can beautifully arrange all three windows by selecting Windows-Tile?",
    "that the tutorial is now working better?",
    "that the checkmarks sometimes dissappear from the list of parameters while fitting and even "
    "the developer doesn't know why?",
    "that the Fit It dialogue box is now sizeable and that it can now be minimized?",
    "that newer versions of Quorrel are found on the maker's web pages? Click the Ostral logo at "
    "the right end of the tool bar to go there.",
    "that writing tips of the day can be quite boring?",
};

}  // namespace quorrel
