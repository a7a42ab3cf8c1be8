// Ids of the skin library's own string table (skin_strings.rc), the captions
// used where the system's own string tables lack a text.
#pragma once

#define sidRoot 65281
#define sidSkinDirectory 65282
#define sidSelectSkin 65283
#define sidSkinPreview 65284
#define sidOk 58992
#define sidCancel 58991
#define sidHelp 58990
#define sidRestore 58981
#define sidMove 58980
#define sidSize 58979
#define sidMinimize 58978
#define sidMaximize 58977
#define sidClose 58976
#define sidFileOpen 58970
#define sidAvailableStyles 58964
#define sidInternal 58963
#define sidAddToCustomColors 58960
#define sidDefineColors 58959
#define sidAdditionalColors 58957
#define sidColor 58956
#define sidRed 58955
#define sidGreen 58954
#define sidBlue 58953
#define sidDecimal 58952
#define sidHex 58951
#define sidFrameAdapterMisplaced 58950
#define sidFont 58934
#define sidInvalidDate 58923
#define sidSelectDirectory 58911
#define sidCreate 58910
