# Tests of TColorPick and TNumEdit.
