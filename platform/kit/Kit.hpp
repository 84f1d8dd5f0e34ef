#pragma once

// Everything a view composition needs, in one include.

#include "platform/kit/Accessibility.hpp"
#include "platform/kit/Alignment.hpp"
#include "platform/kit/Button.hpp"
#include "platform/kit/Color.hpp"
#include "platform/kit/DisplayListPainter.hpp"
#include "platform/kit/EdgeInsets.hpp"
#include "platform/kit/Environment.hpp"
#include "platform/kit/Font.hpp"
#include "platform/kit/ForEach.hpp"
#include "platform/kit/GeometryReader.hpp"
#include "platform/kit/Group.hpp"
#include "platform/kit/HitRegions.hpp"
#include "platform/kit/Image.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/Layout.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Spacer.hpp"
#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "platform/kit/View.hpp"
