// Resource ids of the Windows program, shared by the resource script and the code.
#pragma once

#define kIconCheckMark 101
#define kIconCross 102
#define kIconQuestionArrow 103
