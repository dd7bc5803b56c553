// Turns the engine's outputs into class shares.

export const NO_RESULT = 'no result';

// Negative outputs count as 0. When nothing positive is left there is no
// share to give (the sum would be 0), so there is no result rather than NaN.
export function interpretPercentages(outputs, classNames) {
  const kept = classNames.map((_, index) => (outputs[index] > 0 ? outputs[index] : 0));
  const sum = kept.reduce((total, value) => total + value, 0);
  if (!(sum > 0) || !Number.isFinite(sum)) return null;
  const percentages = kept.map((value) => Math.round((value / sum) * 100));
  let winner = 0;
  percentages.forEach((percentage, index) => {
    if (percentage > percentages[winner]) winner = index;
  });
  return {
    objectClass: classNames[winner],
    score: percentages[winner],
    textArray: classNames.map((name, index) => `${name}: ${percentages[index]} %`),
  };
}
