# TColorPick and TNumEdit.
