// Resource numbers of the Gallery's timing program (a benchmark tool, not product).
#pragma once
#define IDR_GALBENCH_FRAME 5200      // the frame's menu
#define IDR_GALBENCH_CONTAINER 5201  // the in-place container menu the component merges into
