// CDragEdit: the edit view that pages use. Dropping browser content and
// files into a page builds on this class.
#pragma once

#include "framework/editview.h"

class CDragEdit : public CEditView {
};
