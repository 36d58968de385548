/* Control and resource identifiers shared by Resources.rc and the dialog
   procedures. Plain defines: the resource compiler reads this file too. */
#pragma once

#define MainIconId 1
#define GaugeFrameId 101
#define DestinationEditId 104
#define DestinationPromptId 105
