#pragma once

// Resources of the player program.
