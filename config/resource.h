#pragma once

// Resources of the configuration program.
